#pragma once
#include <string>

#include "Core/Render/BMFont.h"
#include "Core/Resource/ResourcePtr.h"

// The game root board's six fonts. The resource manager keeps one font per name, so every screen
// that asks for one of them shares the board's.
inline constexpr char16_t kFontMain32x1[] = u"ruv/data/fonts/main_32_1";
inline constexpr char16_t kFontMain32x2[] = u"ruv/data/fonts/main_32_2";
inline constexpr char16_t kFontMain42x1[] = u"ruv/data/fonts/main_42_1";
inline constexpr char16_t kFontMain42x2[] = u"ruv/data/fonts/main_42_2";
inline constexpr char16_t kFontMain80[] = u"ruv/data/fonts/main_80";
inline constexpr char16_t kFontMain42x3[] = u"ruv/data/fonts/main_42_3";

// The font of that name from the resource manager, bound to the game's renderer and loaded when
// nobody has loaded it yet; empty when it cannot be loaded.
resource::ResourcePtr<render::BMFont> LoadGameFont(const std::u16string& name);
