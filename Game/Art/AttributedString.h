#pragma once
#include <map>
#include <string>
#include <vector>

#include "Core/Math/Transform2D.h"
#include "Core/Resource/ResourcePtr.h"

namespace render {
class Font;
class Graphics;
class Image;
}  // namespace render

// One piece of an attributed row: its advance in pixels and how it draws.
class AttributedChunk {
 public:
  virtual ~AttributedChunk() = default;
  // Draws left-aligned and vertically centred on the transform's origin.
  virtual void draw(render::Graphics&, const math::Transform2D&) {}

  float width = 0.0f;
};

class AttributedStringChunk : public AttributedChunk {
 public:
  // Measured in font; a chunk without a font measures 0.
  AttributedStringChunk(const std::u16string& text, const resource::ResourcePtr<render::Font>& font);
  void draw(render::Graphics& graphics, const math::Transform2D& transform) override;

  std::u16string text;
};

class AttributedImageChunk : public AttributedChunk {
 public:
  explicit AttributedImageChunk(render::Image* image);
  void draw(render::Graphics& graphics, const math::Transform2D& transform) override;

  render::Image* image;  // not owned
};

// A one-line text in which registered characters draw as icons ("$" money, "#" gems).
class AttributedString {
 public:
  AttributedString() = default;
  ~AttributedString();
  AttributedString(const AttributedString&) = delete;
  AttributedString& operator=(const AttributedString&) = delete;

  // The character draws as image from the next buildChunks on (the image is not owned).
  void addIcon(char16_t character, render::Image* image);
  // Cuts text into runs and icons; the remainder after the last icon is always a chunk, even empty.
  void buildChunks();
  // The row centred on the transform's origin, each chunk advancing by its width times the
  // transform's x scale.
  void draw(render::Graphics& graphics, const math::Transform2D& transform);

  std::u16string text;
  std::vector<AttributedChunk*> chunks;
  resource::ResourcePtr<render::Font> font;
  std::map<char16_t, render::Image*> icons;
};
