#pragma once
// Layered documents built in memory, a few lines per case: header, resources, layer records with
// their channels, tagged blocks and the merged image.
#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace psdtest {

using Bytes = std::vector<uint8_t>;

// Big-endian writer with length fields patched afterwards.
class PsdWriter {
 public:
  PsdWriter& U8(uint32_t v) { mBytes.push_back(uint8_t(v)); return *this; }
  PsdWriter& U16(uint32_t v) { return U8(v >> 8).U8(v); }
  PsdWriter& U32(uint32_t v) { return U16(v >> 16).U16(v); }
  PsdWriter& Key(const char* key) { return Raw(key, 4); }
  PsdWriter& Raw(const void* data, size_t n) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    mBytes.insert(mBytes.end(), bytes, bytes + n);
    return *this;
  }
  PsdWriter& Raw(const Bytes& bytes) { return Raw(bytes.data(), bytes.size()); }
  PsdWriter& Double(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, 8);
    return U32(uint32_t(bits >> 32)).U32(uint32_t(bits));
  }
  PsdWriter& Zeros(size_t n) { mBytes.resize(mBytes.size() + n, 0); return *this; }
  // A u32 length to be patched by End.
  size_t Begin() {
    U32(0);
    return mBytes.size();
  }
  // Patches the length begun at start with the bytes written since, after padding to a multiple
  // of pad (the padding counted when countPad).
  PsdWriter& End(size_t start, size_t pad = 1, bool countPad = true) {
    size_t length = mBytes.size() - start;
    while ((mBytes.size() - start) % pad) mBytes.push_back(0);
    if (countPad) length = mBytes.size() - start;
    for (int i = 0; i < 4; ++i) mBytes[start - 4 + i] = uint8_t(length >> (24 - 8 * i));
    return *this;
  }
  size_t Size() const { return mBytes.size(); }
  const Bytes& Get() const { return mBytes; }

 private:
  Bytes mBytes;
};

inline Bytes Zip(const Bytes& raw) {
  uLongf size = compressBound(uLong(raw.size()));
  Bytes out(size);
  compress(out.data(), &size, raw.data(), uLong(raw.size()));
  out.resize(size);
  return out;
}

// PackBits rows: a table of byte counts (one per row), then each row as repeat runs (3 or more
// equal bytes) and literal runs.
inline Bytes Rle(const Bytes& plane, size_t rows) {
  const size_t width = rows ? plane.size() / rows : 0;
  std::vector<Bytes> encoded(rows);
  for (size_t r = 0; r < rows; ++r) {
    const uint8_t* row = plane.data() + r * width;
    Bytes& out = encoded[r];
    size_t x = 0;
    while (x < width) {
      size_t run = 1;
      while (x + run < width && run < 128 && row[x + run] == row[x]) ++run;
      if (run >= 3) {
        out.push_back(uint8_t(257 - run));
        out.push_back(row[x]);
        x += run;
        continue;
      }
      size_t literal = 0;
      while (x + literal < width && literal < 128 &&
             !(x + literal + 2 < width && row[x + literal] == row[x + literal + 1] &&
               row[x + literal] == row[x + literal + 2])) {
        ++literal;
      }
      if (literal == 0) literal = 1;
      out.push_back(uint8_t(literal - 1));
      out.insert(out.end(), row + x, row + x + literal);
      x += literal;
    }
  }
  PsdWriter w;
  for (const Bytes& row : encoded) w.U16(uint32_t(row.size()));
  for (const Bytes& row : encoded) w.Raw(row);
  return w.Get();
}

struct PsdChannel {
  int16_t id = 0;
  uint16_t compression = 0;
  Bytes data;  // after the compression code
};

struct PsdLayerSpec {
  int32_t top = 0, left = 0, bottom = 0, right = 0;
  std::vector<PsdChannel> channels;
  std::string blendSignature = "8BIM";
  std::string blendKey = "norm";
  uint8_t opacity = 255;
  uint8_t flags = 0;
  Bytes mask;            // whole mask field, its u32 length included; empty = length 0
  Bytes blendingRanges;  // whole field, its u32 length included; empty = length 0
  std::string name;
  Bytes extra;  // additional information blocks
};

// A layer whose channels hold the given raw planes under ids (e.g. {-1, 0, 1, 2}).
inline PsdLayerSpec RawLayer(int32_t top, int32_t left, int32_t bottom, int32_t right, const std::vector<int16_t>& ids,
                             const std::vector<Bytes>& planes, const std::string& name) {
  PsdLayerSpec layer;
  layer.top = top, layer.left = left, layer.bottom = bottom, layer.right = right;
  for (size_t i = 0; i < ids.size(); ++i) layer.channels.push_back({ids[i], 0, planes[i]});
  layer.name = name;
  return layer;
}

// A folder record: divider 1 (open folder) as folder start, 3 as folder end.
inline PsdLayerSpec FolderLayer(uint32_t divider, const std::string& name);

// "8BIM", key, u32 length (rounded to even), data.
inline Bytes InfoBlock(const char* key, const Bytes& data) {
  PsdWriter w;
  w.Key("8BIM").Key(key);
  const size_t start = w.Begin();
  w.Raw(data);
  w.End(start, 2);
  return w.Get();
}

inline PsdLayerSpec FolderLayer(uint32_t divider, const std::string& name) {
  PsdLayerSpec layer;
  layer.name = name;
  layer.extra = InfoBlock("lsct", PsdWriter().U32(divider).Get());
  return layer;
}

// One image resource block.
inline Bytes Resource(uint16_t id, const Bytes& data) {
  PsdWriter w;
  w.Key("8BIM").U16(id).U8(0).U8(0);
  const size_t start = w.Begin();
  w.Raw(data);
  w.End(start, 2, false);
  return w.Get();
}

// Resource 1036: a JPEG thumbnail whose header claims width x height and compressedSize bytes.
inline Bytes ThumbnailResource(uint32_t width, uint32_t height, const Bytes& jpeg, uint32_t compressedSize) {
  PsdWriter w;
  w.U32(1).U32(width).U32(height).U32(width * 3).U32(width * height * 3).U32(compressedSize).U16(24).U16(1).Raw(jpeg);
  return Resource(1036, w.Get());
}

struct PsdSpec {
  uint16_t channels = 3;
  int32_t width = 2, height = 2;
  uint16_t depth = 8;
  uint16_t mode = 3;
  Bytes colorModeData;
  Bytes resources;  // resource blocks back to back
  std::vector<PsdLayerSpec> layers;
  bool layerSection = true;   // write the layer and mask section (else its length is 0)
  int32_t storedLayerCount = -1;  // -1: the number of layers
  Bytes tail;                 // tagged blocks after the global layer mask
  uint16_t mergedCompression = 0;
  Bytes merged;  // merged image data after its compression code
};

inline void WriteLayerRecord(PsdWriter& w, const PsdLayerSpec& layer) {
  w.U32(uint32_t(layer.top)).U32(uint32_t(layer.left)).U32(uint32_t(layer.bottom)).U32(uint32_t(layer.right));
  w.U16(uint32_t(layer.channels.size()));
  for (const PsdChannel& channel : layer.channels) w.U16(uint16_t(channel.id)).U32(uint32_t(channel.data.size() + 2));
  w.Raw(layer.blendSignature.data(), 4).Raw(layer.blendKey.data(), 4);
  w.U8(layer.opacity).U8(0).U8(layer.flags).U8(0);
  const size_t extra = w.Begin();
  if (layer.mask.empty()) w.U32(0); else w.Raw(layer.mask);
  if (layer.blendingRanges.empty()) w.U32(0); else w.Raw(layer.blendingRanges);
  Bytes name(((layer.name.size() & ~size_t(3)) + 3), 0);
  std::memcpy(name.data(), layer.name.data(), std::min(name.size(), layer.name.size()));
  w.U8(uint32_t(layer.name.size())).Raw(name);
  w.Raw(layer.extra);
  w.End(extra, 1);
}

// The layer information (its u32 length first), as in the section or an "Lr16" block.
inline Bytes LayerInfo(const std::vector<PsdLayerSpec>& layers, int32_t storedCount = -1) {
  PsdWriter w;
  const size_t info = w.Begin();
  w.U16(uint16_t(storedCount >= 0 ? storedCount : int32_t(layers.size())));
  for (const PsdLayerSpec& layer : layers) WriteLayerRecord(w, layer);
  for (const PsdLayerSpec& layer : layers) {
    for (const PsdChannel& channel : layer.channels) w.U16(channel.compression).Raw(channel.data);
  }
  w.End(info, 2);
  return w.Get();
}

inline Bytes MakePsd(const PsdSpec& spec) {
  PsdWriter w;
  w.Key("8BPS").U16(1).Zeros(6).U16(spec.channels).U32(uint32_t(spec.height)).U32(uint32_t(spec.width));
  w.U16(spec.depth).U16(spec.mode);
  w.U32(uint32_t(spec.colorModeData.size())).Raw(spec.colorModeData);
  w.U32(uint32_t(spec.resources.size())).Raw(spec.resources);
  if (!spec.layerSection) {
    w.U32(0);
  } else {
    const size_t section = w.Begin();
    w.Raw(LayerInfo(spec.layers, spec.storedLayerCount));
    w.U32(0);  // global layer mask
    w.Raw(spec.tail);
    w.End(section, 1);
  }
  w.U16(spec.mergedCompression).Raw(spec.merged);
  return w.Get();
}

// Descriptor pieces: items with 4-byte or named keys, objects, values.
namespace desc {

inline PsdWriter& Item(PsdWriter& w, const char* key, const char* type) { return w.U32(0).Key(key).Key(type); }
inline PsdWriter& NamedItem(PsdWriter& w, const std::string& name, const char* type) {
  return w.U32(uint32_t(name.size())).Raw(name.data(), name.size()).Key(type);
}
// An object's body: empty class name, 4-byte class id, item count.
inline PsdWriter& Object(PsdWriter& w, const char* classId, uint32_t items) { return w.U32(0).U32(0).Key(classId).U32(items); }
inline PsdWriter& Unicode(PsdWriter& w, const std::string& text) {
  w.U32(uint32_t(text.size()));
  for (char c : text) w.U16(uint8_t(c));
  return w;
}
// Type id and a 4-byte enum value.
inline PsdWriter& Enum(PsdWriter& w, const char* typeId, const char* value) { return w.U32(0).Key(typeId).U32(0).Key(value); }
inline PsdWriter& NamedEnum(PsdWriter& w, const char* typeId, const std::string& value) {
  return w.U32(0).Key(typeId).U32(uint32_t(value.size())).Raw(value.data(), value.size());
}
inline PsdWriter& Unit(PsdWriter& w, const char* unit, double value) { return w.Key(unit).Double(value); }
inline PsdWriter& Color(PsdWriter& w, double r, double g, double b) {
  Object(w, "RGBC", 3);
  Item(w, "Rd  ", "doub").Double(r);
  Item(w, "Grn ", "doub").Double(g);
  return Item(w, "Bl  ", "doub").Double(b);
}
inline PsdWriter& Point(PsdWriter& w, double x, double y) {
  Object(w, "Pnt ", 2);
  Item(w, "Hrzn", "UntF").Key("#Pxl").Double(x);
  return Item(w, "Vrtc", "UntF").Key("#Pxl").Double(y);
}

struct ColorStop {
  uint8_t r, g, b;
  const char* type;  // "FrgC", "BckC", "UsrS"
  uint32_t location, midpoint;
};
struct TransparencyStop {
  double opacity;
  uint32_t location, midpoint;
};
// A "Grad" object's body as the layered-image writers store it.
inline PsdWriter& Gradient(PsdWriter& w, const std::string& name, double interpolation,
                           const std::vector<ColorStop>& colors, const std::vector<TransparencyStop>& transparency) {
  Object(w, "Grdn", 5);
  Item(w, "Nm  ", "TEXT");
  Unicode(w, name);
  Item(w, "GrdF", "enum");
  Enum(w, "GrdF", "CstS");
  Item(w, "Intr", "doub").Double(interpolation);
  Item(w, "Clrs", "VlLs").U32(uint32_t(colors.size()));
  for (const ColorStop& stop : colors) {
    w.Key("Objc");
    Object(w, "Clrt", 4);
    Item(w, "Clr ", "Objc");
    Color(w, stop.r, stop.g, stop.b);
    Item(w, "Type", "enum");
    Enum(w, "Clry", stop.type);
    Item(w, "Lctn", "long").U32(stop.location);
    Item(w, "Mdpn", "long").U32(stop.midpoint);
  }
  Item(w, "Trns", "VlLs").U32(uint32_t(transparency.size()));
  for (const TransparencyStop& stop : transparency) {
    w.Key("Objc");
    Object(w, "TrnS", 3);
    Item(w, "Opct", "UntF");
    Unit(w, "#Prc", stop.opacity);
    Item(w, "Lctn", "long").U32(stop.location);
    Item(w, "Mdpn", "long").U32(stop.midpoint);
  }
  return w;
}
// A "Ptrn" object's body: name and id.
inline PsdWriter& Pattern(PsdWriter& w, const std::string& name, const std::string& id) {
  Object(w, "Ptrn", 2);
  Item(w, "Nm  ", "TEXT");
  Unicode(w, name);
  Item(w, "Idnt", "TEXT");
  return Unicode(w, id);
}
// A contour object ("ShpC") of points (x, y, corner).
struct ContourPoint {
  double x, y;
  bool corner;
};
inline PsdWriter& Contour(PsdWriter& w, const std::string& name, const std::vector<ContourPoint>& points) {
  Object(w, "ShpC", 2);
  Item(w, "Nm  ", "TEXT");
  Unicode(w, name);
  Item(w, "Crv ", "VlLs").U32(uint32_t(points.size()));
  for (const ContourPoint& point : points) {
    w.Key("Objc");
    Object(w, "CrPt", 3);
    Item(w, "Hrzn", "doub").Double(point.x);
    Item(w, "Vrtc", "doub").Double(point.y);
    Item(w, "Cnty", "bool").U8(point.corner ? 0 : 1);
  }
  return w;
}
// The start of an "lfx2" block: versions and the outer descriptor with its item count.
inline PsdWriter& EffectsStart(PsdWriter& w, uint32_t items) { return Object(w.U32(0).U32(16), "null", items); }

}  // namespace desc

// Planes of a merged image in raw form: channel after channel.
inline Bytes Planes(const std::vector<Bytes>& planes) {
  Bytes out;
  for (const Bytes& plane : planes) out.insert(out.end(), plane.begin(), plane.end());
  return out;
}

}  // namespace psdtest
