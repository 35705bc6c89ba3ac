#include "Core/Render/ImageData.h"

namespace render {

// Decoders without a stored mip chain have only level 0.
VNResultEnum ImageData::CopyLevelTo(int /*level*/, int /*pitch*/, void* /*destination*/) { return VN_FAIL; }

unsigned ImageData::GetDataSize() { return unsigned(mWidth) * unsigned(mHeight) * 4; }

}  // namespace render
