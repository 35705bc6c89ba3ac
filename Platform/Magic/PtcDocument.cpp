#include "Platform/Magic/PtcDocument.h"

#include <tinyxml2.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace magic {

namespace {

float PtcAttribute(const tinyxml2::XMLElement* element, const char* name, float fallback, float low, float high) {
  float value = fallback;
  if (element->QueryFloatAttribute(name, &value) != tinyxml2::XML_SUCCESS || !std::isfinite(value)) return fallback;
  return std::clamp(value, low, high);
}

template <class Curve, class Read>
bool ReadPtcCurve(const tinyxml2::XMLElement* particle, const char* tag, Curve& curve, Read read) {
  for (const tinyxml2::XMLElement* key = particle->FirstChildElement(tag); key; key = key->NextSiblingElement(tag)) {
    if (curve.keys.size() == kPtcMaxCurveKeys) return false;
    typename Curve::Key value{};
    value.at = PtcAttribute(key, "at", 0.0f, 0.0f, 1.0f);
    if (!read(key, value)) return false;
    curve.keys.push_back(value);
  }
  std::stable_sort(curve.keys.begin(), curve.keys.end(),
                   [](const typename Curve::Key& a, const typename Curve::Key& b) { return a.at < b.at; });
  return true;
}

// Held before the first key and after the last, linear between keys (mix of a, b and the fraction).
template <class Key, class Value, class Get, class Mix>
Value PtcCurveAt(const std::vector<Key>& keys, float life, Value none, Get get, Mix mix) {
  if (keys.empty()) return none;
  if (life <= keys.front().at) return get(keys.front());
  for (size_t i = 1; i < keys.size(); ++i) {
    if (life <= keys[i].at) {
      const float span = keys[i].at - keys[i - 1].at;
      return span > 0.0f ? mix(keys[i - 1], keys[i], (life - keys[i - 1].at) / span) : get(keys[i]);
    }
  }
  return get(keys.back());
}

bool ReadPtcParticle(const tinyxml2::XMLElement* element, const std::vector<AtlasDef>& atlases, ParticleKind& kind) {
  const int atlas = element->IntAttribute("atlas", 0);
  if (atlas < 0 || size_t(atlas) >= atlases.size()) return false;
  kind.atlas = atlas;
  const AtlasDef& page = atlases[size_t(atlas)];
  float x = 0, y = 0, w = float(page.width), h = float(page.height);
  if (const char* frame = element->Attribute("frame")) {
    if (std::sscanf(frame, "%f %f %f %f", &x, &y, &w, &h) != 4) return false;
  }
  if (!std::isfinite(x) || !std::isfinite(y) || !(w > 0.0f && w < 1e6f) || !(h > 0.0f && h < 1e6f)) return false;
  kind.u0 = x / float(page.width);
  kind.v0 = y / float(page.height);
  kind.u1 = (x + w) / float(page.width);
  kind.v1 = (y + h) / float(page.height);
  kind.aspect = h / w;
  kind.additive = element->BoolAttribute("additive", false);
  kind.rate = PtcAttribute(element, "rate", kind.rate, 0.0f, kPtcMaxRate);
  kind.life = PtcAttribute(element, "life", kind.life, 1.0f, kPtcMaxLife);
  kind.lifeVariation = PtcAttribute(element, "life_var", 0.0f, 0.0f, kPtcMaxLife);
  kind.speed = PtcAttribute(element, "speed", 0.0f, -1e5f, 1e5f);
  kind.speedVariation = PtcAttribute(element, "speed_var", 0.0f, 0.0f, 1e5f);
  kind.spread = PtcAttribute(element, "spread", 0.0f, 0.0f, 360.0f);
  kind.gravity = PtcAttribute(element, "gravity", 0.0f, -1e5f, 1e5f);
  kind.area = PtcAttribute(element, "area", 0.0f, 0.0f, 1e5f);
  kind.size = PtcAttribute(element, "size", kind.size, 0.0f, 1e5f);
  kind.sizeVariation = PtcAttribute(element, "size_var", 0.0f, 0.0f, 1e5f);
  kind.angle = PtcAttribute(element, "angle", 0.0f, -1e5f, 1e5f);
  kind.angleVariation = PtcAttribute(element, "angle_var", 0.0f, 0.0f, 1e5f);
  kind.spin = PtcAttribute(element, "spin", 0.0f, -1e5f, 1e5f);
  auto readValue = [](const tinyxml2::XMLElement* key, LifeCurve::Key& value) {
    value.value = PtcAttribute(key, "value", 1.0f, -1e5f, 1e5f);
    return true;
  };
  auto readAlpha = [](const tinyxml2::XMLElement* key, LifeCurve::Key& value) {
    value.value = PtcAttribute(key, "value", 1.0f, 0.0f, 1.0f);
    return true;
  };
  auto readColor = [](const tinyxml2::XMLElement* key, ColorCurve::Key& value) {
    const char* rgb = key->Attribute("rgb");
    unsigned parsed = 0;
    char extra = 0;
    if (!rgb || std::sscanf(rgb, "%x%c", &parsed, &extra) != 1 || parsed > 0xFFFFFFu) return false;
    value.rgb = parsed;
    return true;
  };
  return ReadPtcCurve(element, "scale", kind.scale, readValue) &&
         ReadPtcCurve(element, "alpha", kind.alpha, readAlpha) && ReadPtcCurve(element, "color", kind.color, readColor);
}

std::shared_ptr<const EmitterDef> ReadPtcEmitter(const tinyxml2::XMLElement* element,
                                                 const std::vector<AtlasDef>& atlases) {
  const char* name = element->Attribute("name");
  if (!name || !*name) return nullptr;
  auto emitter = std::make_shared<EmitterDef>();
  emitter->name = name;
  emitter->duration = PtcAttribute(element, "duration", emitter->duration, 1.0f, 3600000.0f);
  emitter->start = PtcAttribute(element, "start", 0.0f, 0.0f, 60000.0f);
  emitter->loop = element->BoolAttribute("loop", false);
  emitter->step = PtcAttribute(element, "step", emitter->step, 1.0f, 1000.0f);
  emitter->interpolation = element->BoolAttribute("interpolation", true);
  emitter->direction = PtcAttribute(element, "direction", emitter->direction, -1e5f, 1e5f);
  for (const tinyxml2::XMLElement* particle = element->FirstChildElement("particle"); particle;
       particle = particle->NextSiblingElement("particle")) {
    ParticleKind kind;
    if (!ReadPtcParticle(particle, atlases, kind)) return nullptr;
    emitter->kinds.push_back(std::move(kind));
  }
  return emitter;
}

bool ReadPtcFolder(const tinyxml2::XMLElement* element, const std::vector<AtlasDef>& atlases, FolderDef& folder,
                   int depth) {
  if (depth > kPtcMaxDepth) return false;
  for (const tinyxml2::XMLElement* child = element->FirstChildElement(); child; child = child->NextSiblingElement()) {
    const std::string tag = child->Name();
    if (tag == "emitter") {
      std::shared_ptr<const EmitterDef> emitter = ReadPtcEmitter(child, atlases);
      if (!emitter) return false;
      folder.entries.push_back({false, folder.emitters.size()});
      folder.emitters.push_back(std::move(emitter));
    } else if (tag == "folder") {
      const char* name = child->Attribute("name");
      if (!name || !*name || std::string(name) == "..") return false;
      auto sub = std::make_unique<FolderDef>();
      sub->name = name;
      sub->parent = &folder;
      if (!ReadPtcFolder(child, atlases, *sub, depth + 1)) return false;
      folder.entries.push_back({true, folder.folders.size()});
      folder.folders.push_back(std::move(sub));
    }
  }
  return true;
}

}  // namespace

float LifeCurve::At(float life) const {
  return PtcCurveAt(
      keys, life, 1.0f, [](const Key& key) { return key.value; },
      [](const Key& a, const Key& b, float f) { return a.value + (b.value - a.value) * f; });
}

uint32_t ColorCurve::At(float life) const {
  return PtcCurveAt(
      keys, life, 0xFFFFFFu, [](const Key& key) { return key.rgb; },
      [](const Key& a, const Key& b, float f) {
        uint32_t rgb = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
          const float ca = float((a.rgb >> shift) & 0xFF);
          const float cb = float((b.rgb >> shift) & 0xFF);
          rgb |= uint32_t(ca + (cb - ca) * f + 0.5f) << shift;
        }
        return rgb;
      });
}

const std::string& FolderDef::EntryName(size_t i) const {
  const Entry& entry = entries[i];
  return entry.folder ? folders[entry.index]->name : emitters[entry.index]->name;
}

std::unique_ptr<PtcDocument> ReadPtcDocument(const char* text, size_t size) {
  if (!text) return nullptr;
  tinyxml2::XMLDocument xml;
  if (xml.Parse(text, size) != tinyxml2::XML_SUCCESS) return nullptr;
  const tinyxml2::XMLElement* root = xml.RootElement();
  if (!root || std::string(root->Name()) != "ptc" || root->IntAttribute("version", 0) != 1) return nullptr;
  auto document = std::make_unique<PtcDocument>();
  if (const char* name = root->Attribute("name")) document->name = name;
  for (const tinyxml2::XMLElement* atlas = root->FirstChildElement("atlas"); atlas;
       atlas = atlas->NextSiblingElement("atlas")) {
    AtlasDef def;
    const char* file = atlas->Attribute("file");
    def.width = atlas->IntAttribute("width", 0);
    def.height = atlas->IntAttribute("height", 0);
    if (!file || !*file || def.width <= 0 || def.height <= 0 || def.width > 16384 || def.height > 16384 ||
        document->atlases.size() == size_t(kPtcMaxAtlases)) {
      return nullptr;
    }
    def.file = file;
    document->atlases.push_back(std::move(def));
  }
  if (!ReadPtcFolder(root, document->atlases, document->root, 0)) return nullptr;
  return document;
}

}  // namespace magic
