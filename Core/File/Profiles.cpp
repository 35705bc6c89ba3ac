#include "Core/File/Profiles.h"

#include <ctime>
#include <memory>
#include <new>

#include "Core/Base/LogMessage.h"
#include "Core/Base/Stream.h"
#include "Core/Base/StringEncoding.h"
#include "Core/File/FileHandleWin32.h"
#include "Core/File/FileInfo.h"
#include "Core/File/FileManager.h"
#include "Core/File/UserDataFileContainer.h"

namespace file {

namespace {

constexpr char kRootElement[] = "Profiles";
constexpr char kProfileElement[] = "Profile";
constexpr char kCurrentAttribute[] = "currentProfile";
constexpr char kNameAttribute[] = "name";
// Every profile file is small; a larger one is not ours.
constexpr unsigned kMaxFileSize = 64u << 20;

std::string ToUtf8(const std::u16string& text) { return base::ToNarrow(text, base::kEncodingUtf8); }
std::u16string ToUtf16(const char* text) { return text ? base::ToWide(text, base::kEncodingUtf8) : std::u16string(); }

// Writes all bytes to path and forces them to the device.
VNResultEnum WriteDurably(const std::u16string& path, const char* bytes, unsigned size) {
  FileHandleWin32 file;
  if (file.Open(path, FileHandleWin32::kWrite, FileHandleWin32::kCreateAlways) != VN_OK) return VN_FAIL;
  unsigned written = 0;
  if (file.Write(bytes, size, &written) != VN_OK || written != size || file.Flush() != VN_OK) {
    file.Close();
    return VN_FAIL;
  }
  return file.Close();
}

// Writes bytes to a new file at path; fails when path exists, so nothing is ever overwritten.
VNResultEnum WriteNewFile(const std::u16string& path, const std::string& bytes) {
  FileHandleWin32 file;
  if (file.Open(path, FileHandleWin32::kWrite, FileHandleWin32::kCreateNew) != VN_OK) return VN_FAIL;
  unsigned written = 0;
  const auto size = static_cast<unsigned>(bytes.size());
  const bool complete = size == 0 || (file.Write(bytes.data(), size, &written) == VN_OK && written == size);
  if (!complete || file.Flush() != VN_OK) {
    file.Close();
    return VN_FAIL;
  }
  return file.Close();
}

// "-YYYYMMDD-HHMMSS" in local time: copies of different starts sort by date.
std::u16string DateSuffix() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  char text[32] = "-unknown";
  if (localtime_r(&now, &local)) std::strftime(text, sizeof text, "-%Y%m%d-%H%M%S", &local);
  return ToUtf16(text);
}

}  // namespace

Profiles::~Profiles() {
  if (mDocument && !sSecondInstance) Save();
  delete mDocument;
}

std::u16string Profiles::GetFilePath() { return UserDataFileContainer::Instance()->GetPath() + kFileName; }

std::vector<base::SingletoneBase*> Profiles::GetDependencies() {
  UserDataFileContainer* container = UserDataFileContainer::Instance();
  if (!container) return {};
  return {container};
}

Profiles::ReadResult Profiles::ReadFile(std::string& text, std::string& cause) {
  UserDataFileContainer* container = UserDataFileContainer::Instance();
  std::unique_ptr<FileInfo> info(container->Open(kFileName, nullptr, 0, nullptr));
  std::unique_ptr<base::Stream> stream(info ? info->Open() : nullptr);
  if (!stream) {
    cause = "it cannot be opened";
    return ReadResult::kUnreadable;
  }
  const unsigned size = stream->GetSize();
  if (size > kMaxFileSize) {
    cause = "it is larger than any profiles file";
    return ReadResult::kUnreadable;
  }
  text.assign(size, '\0');
  if (size > 0 && stream->Read(text.data(), size) != size) {
    cause = "it cannot be read to its end";
    return ReadResult::kUnreadable;
  }
  if (mDocument->Parse(text.c_str(), size) != tinyxml2::XML_SUCCESS) {
    cause = mDocument->ErrorStr();
    return ReadResult::kDamaged;
  }

  mRoot = mDocument->FirstChildElement(kRootElement);
  if (!mRoot || !mRoot->Attribute(kCurrentAttribute)) {
    cause = "no \"Profiles\" element with a \"currentProfile\"";
    return ReadResult::kDamaged;
  }
  for (auto* profile = mRoot->FirstChildElement(kProfileElement); profile;
       profile = profile->NextSiblingElement(kProfileElement)) {
    if (!profile->Attribute(kNameAttribute)) {
      cause = "a \"Profile\" element without a \"name\" on line " + std::to_string(profile->GetLineNum());
      return ReadResult::kDamaged;
    }
  }
  return ReadResult::kRead;
}

std::u16string Profiles::KeepDamagedCopy(const std::string& text) const {
  const std::u16string base = GetFilePath() + u".damaged" + DateSuffix();
  // Two damaged starts within one second get numbered copies.
  for (int n = 1; n <= 100; ++n) {
    const std::u16string path = n == 1 ? base : base + u"-" + ToUtf16(std::to_string(n).c_str());
    if (WriteNewFile(path, text) == VN_OK) return path;
  }
  return {};
}

void Profiles::StartOver() {
  mDocument->Clear();
  mRoot = mDocument->NewElement(kRootElement);
  mDocument->InsertEndChild(mRoot);
  mCurrent = nullptr;
}

void Profiles::Load() {
  delete mDocument;
  mDocument = new tinyxml2::XMLDocument(true);
  mRoot = nullptr;
  mCurrent = nullptr;
  mSaveBlocked = false;

  UserDataFileContainer* container = UserDataFileContainer::Instance();
  if (!container || !container->Exists(kFileName)) {
    StartOver();
    SetCurrentProfile(kDefaultProfileName);
    return;
  }
  std::string text;
  std::string cause;
  ReadResult result = ReadFile(text, cause);
  if (result == ReadResult::kRead) {
    SetCurrentProfile(ToUtf16(mRoot->Attribute(kCurrentAttribute)));
    return;
  }
  const std::u16string path = GetFilePath();
  if (result == ReadResult::kDamaged) {
    sDamagedCopyPath = KeepDamagedCopy(text);
    if (sDamagedCopyPath.empty()) {
      cause += "; no copy could be written beside it";
      result = ReadResult::kUnreadable;
    } else {
      base::LogBlock(u"Profiles: '%s' is damaged (%s); kept as '%s', starting with a new profile.\n") % path %
          ToUtf16(cause.c_str()) % sDamagedCopyPath;
      sProfileReset = true;
    }
  }
  if (result == ReadResult::kUnreadable) {
    base::LogBlock(u"Profiles: '%s' cannot be used (%s); it is left as it is and nothing is saved.\n") % path %
        ToUtf16(cause.c_str());
    sProfileUnreadable = true;
    mSaveBlocked = true;
  }
  StartOver();
  SetCurrentProfile(kDefaultProfileName);
}

bool Profiles::TakeSaveFailureNotice() {
  if (sSaveFailure != 1) return false;
  sSaveFailure = 2;
  return true;
}

void Profiles::ResetNotices() {
  sProfileReset = false;
  sProfileUnreadable = false;
  sDamagedCopyPath.clear();
  sSaveFailure = 0;
}

tinyxml2::XMLError Profiles::Save() {
  if (!mDocument) return tinyxml2::XML_ERROR_EMPTY_DOCUMENT;
  UserDataFileContainer* container = UserDataFileContainer::Instance();
  FileManager* manager = FileManager::Instance();
  if (!container || !manager || mSaveBlocked) return tinyxml2::XML_ERROR_FILE_COULD_NOT_BE_OPENED;

  tinyxml2::XMLPrinter printer;
  mDocument->Print(&printer);
  const std::u16string path = GetFilePath();
  const std::u16string temporary = path + u".tmp";
  const auto size = static_cast<unsigned>(printer.CStrSize() - 1);
  // The old file stays whole until the new one is complete on the disk.
  if (WriteDurably(temporary, printer.CStr(), size) != VN_OK || manager->ReplaceFile(temporary, path) != VN_OK) {
    // Every change saves: one line and one notice per session, not one per click.
    if (sSaveFailure == 0) {
      base::LogBlock(u"Profiles::Save(): cannot write '%s'.\n") % path;
      sSaveFailure = 1;
    }
    manager->DeleteFile(temporary);
    return tinyxml2::XML_ERROR_FILE_COULD_NOT_BE_OPENED;
  }
  return tinyxml2::XML_SUCCESS;
}

void Profiles::SetCurrentProfile(const std::u16string& name) {
  if (!mRoot) Load();
  mCurrent = FindProfile(name);
  if (!mCurrent) {
    mCurrent = mDocument->NewElement(kProfileElement);
    mRoot->InsertEndChild(mCurrent);
    mCurrent->SetAttribute(kNameAttribute, ToUtf8(name).c_str());
  }
  mRoot->SetAttribute(kCurrentAttribute, mCurrent->Attribute(kNameAttribute));
}

void Profiles::DeleteProfile(const std::u16string& name) {
  tinyxml2::XMLElement* profile = FindProfile(name);
  if (!profile) return;
  const bool wasCurrent = profile == mCurrent;
  mRoot->DeleteChild(profile);
  if (!wasCurrent) return;
  mCurrent = nullptr;
  const std::vector<std::u16string> names = GetProfileNames();
  SetCurrentProfile(names.empty() ? std::u16string(kDefaultProfileName) : names.front());
}

void Profiles::RenameCurrentProfile(const std::u16string& name) {
  if (!mCurrent) return;
  const std::string utf8 = ToUtf8(name);
  mCurrent->SetAttribute(kNameAttribute, utf8.c_str());
  mRoot->SetAttribute(kCurrentAttribute, utf8.c_str());
}

std::vector<std::u16string> Profiles::GetProfileNames() const {
  std::vector<std::u16string> names;
  if (!mRoot) return names;
  for (auto* profile = mRoot->FirstChildElement(kProfileElement); profile;
       profile = profile->NextSiblingElement(kProfileElement)) {
    names.push_back(ToUtf16(profile->Attribute(kNameAttribute)));
  }
  return names;
}

std::u16string Profiles::GetCurrentProfileName() const {
  return mCurrent ? ToUtf16(mCurrent->Attribute(kNameAttribute)) : std::u16string();
}

tinyxml2::XMLElement* Profiles::FindProfile(const std::u16string& name) const {
  if (!mRoot) return nullptr;
  for (auto* profile = mRoot->FirstChildElement(kProfileElement); profile;
       profile = profile->NextSiblingElement(kProfileElement)) {
    if (ToUtf16(profile->Attribute(kNameAttribute)) == name) return profile;
  }
  return nullptr;
}

}  // namespace file
