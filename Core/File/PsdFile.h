#pragma once
#include "Core/File/ImageContainer.h"

struct PsdDocument;
struct PsdLayer;

namespace file {

// One layer of a layered document: its description and the reader's record, which owns the pixels.
class PsdFileLayer : public base::ImageInfo {
 public:
  PsdFileLayer(const base::ImageInfo& info, const PsdLayer* record) : base::ImageInfo(info), mRecord(record) {}
  const PsdLayer* GetRecord() const { return mRecord; }

 private:
  const PsdLayer* mRecord;
};

// A layered document opened as a layout. The document is read through the parent's stream (so a
// document inside a pack is read from the pack) and stays loaded while the container lives.
// Layers are named after their folders ("ui/menu/b_01_in"); the bottom record is not a layer.
class PsdFile : public ImageContainer {
 public:
  PsdFile(const std::u16string& filePath, FileContainer* parent);
  ~PsdFile() override;

  // A stream of the layer's pixels: width x height 32-bit ARGB words, rows from the top.
  base::Stream* OpenStream(const std::u16string& name) override;
  ImageFileInfo* FindLayer(const std::u16string& name, const char16_t* const* extensions, unsigned count,
                           unsigned* index) override;
  // The number of distinct layer names.
  unsigned GetLayerCount() override;

  // The reader's document, or null when the file could not be read.
  const PsdDocument* GetDocument() const { return mDocument; }

 private:
  void ReadLayers();

  PsdDocument* mDocument = nullptr;
};

}  // namespace file
