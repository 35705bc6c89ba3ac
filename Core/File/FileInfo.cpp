#include "Core/File/FileInfo.h"

#include "Core/File/Container.h"

namespace file {

base::Stream* FileInfo::Open() { return mContainer ? mContainer->OpenStream(mPath) : nullptr; }

}  // namespace file
