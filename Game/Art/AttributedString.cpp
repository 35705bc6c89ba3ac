#include "Game/Art/AttributedString.h"

#include "Core/Render/Font.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"

AttributedStringChunk::AttributedStringChunk(const std::u16string& chunkText,
                                             const resource::ResourcePtr<render::Font>& font)
    : text(chunkText) {
  if (!font) return;
  auto measure = font->MeasureText(&text);
  measure->mOutWidth = &width;
}

void AttributedStringChunk::draw(render::Graphics& graphics, const math::Transform2D& transform) {
  auto request = graphics.DrawText(&text);
  request->mHorizontalAnchor = render::DrawTextParam::kAnchorStart;
  request->mVerticalAnchor = render::DrawTextParam::kAnchorCentre;
  // The untransformed text request has no transform conversion: scale by 1, then take the transform.
  auto transformed = request.ScaleUniform(1.0f);
  transformed.GetTransform() = transform;
}

AttributedImageChunk::AttributedImageChunk(render::Image* chunkImage) : image(chunkImage) {
  width = image ? float(image->GetWidth()) : 0.0f;
}

void AttributedImageChunk::draw(render::Graphics& graphics, const math::Transform2D& transform) {
  if (!image) return;
  auto request = graphics.DrawImage(image);
  request->mHorizontalAnchor = render::DrawImageParam::kAnchorStart;
  request->mVerticalAnchor = render::DrawImageParam::kAnchorCentre;
  request.Transform(transform);
}

AttributedString::~AttributedString() {
  for (AttributedChunk* chunk : chunks) delete chunk;
  chunks.clear();
  icons.clear();
}

void AttributedString::addIcon(char16_t character, render::Image* image) { icons[character] = image; }

void AttributedString::buildChunks() {
  for (AttributedChunk* chunk : chunks) delete chunk;
  chunks.clear();
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto icon = icons.find(text[i]);
    if (icon == icons.end()) continue;
    if (i > start) chunks.push_back(new AttributedStringChunk(text.substr(start, i - start), font));
    chunks.push_back(new AttributedImageChunk(icon->second));
    start = i + 1;
  }
  chunks.push_back(new AttributedStringChunk(text.substr(start), font));
}

void AttributedString::draw(render::Graphics& graphics, const math::Transform2D& transform) {
  float total = 0.0f;
  for (const AttributedChunk* chunk : chunks) total += chunk->width;
  const float scale = transform.GetScale().x;
  float x = -0.5f * total * scale;
  if (font) graphics.mFont = font.Get();
  for (AttributedChunk* chunk : chunks) {
    math::Transform2D moved = transform;
    moved.Translate(x, 0.0f);
    chunk->draw(graphics, moved);
    x += chunk->width * scale;
  }
}
