// Drawing of the radial menu.
#include "Core/Render/Graphics.h"
#include "Game/Battle/RuvRadialMenu.h"

void RuvRadialMenu::draw(render::Graphics& graphics) { (void)graphics; }
