#pragma once
#include <string>
#include <vector>

#include <tinyxml2.h>

#include "Core/Base/Singletone.h"

namespace file {

// The player profiles: "profiles.xml" in the user-data folder, kept in memory as an XML document
// with a root "Profiles" (attribute "currentProfile") and one "Profile" element (attribute "name")
// per profile. The game's progress store works on the current element and saves after each change.
class Profiles : public base::Singletone<Profiles> {
 public:
  static constexpr char16_t kDefaultProfileName[] = u"Player01234567890123456789";
  static constexpr char16_t kFileName[] = u"profiles.xml";

  // The file's full path in the user-data folder (what the log and the player's messages name).
  static std::u16string GetFilePath();

  // Saves (unless this process is a second instance that is about to stop) and frees the document.
  ~Profiles() override;
  // The user-data container, which must outlive the profiles.
  std::vector<base::SingletoneBase*> GetDependencies() override;

  // (Re)reads the file. A missing file starts with the default profile. A file that does not parse,
  // or lacks the root, the current name or a profile's name, is first copied beside itself
  // ("profiles.xml.damaged-<date>", never over an earlier copy), then the default profile starts
  // over and the profile-reset flag is set. A file that exists but cannot be read (rights, I/O, a
  // size no profile file has) also starts with the default profile, but sets the unreadable flag
  // and blocks saving, so the file is never replaced by this session. Never writes the file itself.
  void Load();
  // Writes the document to "profiles.xml" through a temporary file beside it that is synced and then
  // renamed over it, so a crash or a full disk never leaves a cut file. Returns the XML library's
  // code: XML_SUCCESS, or an error (logged once per session) with the document kept in memory; the
  // first failure also raises the save-failure notice. Fails without writing while saving is blocked.
  tinyxml2::XMLError Save();

  // Makes name current, creating its element (appended last) when missing. Loads first when needed.
  void SetCurrentProfile(const std::u16string& name);
  // Removes the profile; when it was current, the first remaining one (or a new default) becomes
  // current. An unknown name changes nothing.
  void DeleteProfile(const std::u16string& name);
  // Renames the current profile; does not check that the new name is free.
  void RenameCurrentProfile(const std::u16string& name);
  std::vector<std::u16string> GetProfileNames() const;
  // Empty when there is no current profile.
  std::u16string GetCurrentProfileName() const;
  // The first "Profile" element whose name equals name exactly, or null.
  tinyxml2::XMLElement* FindProfile(const std::u16string& name) const;

  // The current "Profile" element (owned by the document); null before the first load.
  tinyxml2::XMLElement* GetCurrentProfile() const { return mCurrent; }
  tinyxml2::XMLDocument* GetDocument() const { return mDocument; }

  // Handed over by the application when this process found another instance running: the
  // profiles are then never saved at exit. Does not create the profiles.
  static bool IsSecondInstance() { return sSecondInstance; }
  static void SetSecondInstance(bool second) { sSecondInstance = second; }

  // Set when a load found the file damaged and started over; the game tells the player and clears it.
  static bool IsProfileReset() { return sProfileReset; }
  static void SetProfileReset(bool reset) { sProfileReset = reset; }
  // Path of the copy the last damaged load kept; empty when none was kept.
  static const std::u16string& GetDamagedCopyPath() { return sDamagedCopyPath; }
  // Set when a load found a file it could not read; the game tells the player and clears it.
  static bool IsProfileUnreadable() { return sProfileUnreadable; }
  static void SetProfileUnreadable(bool unreadable) { sProfileUnreadable = unreadable; }
  // True once after the session's first failed save, so the player hears of it once.
  static bool TakeSaveFailureNotice();
  // Starts a new session's notices: none pending, the next failed save is reported again.
  static void ResetNotices();

 private:
  enum class ReadResult { kRead, kUnreadable, kDamaged };
  // Parses the existing file into the document; text receives the bytes read.
  ReadResult ReadFile(std::string& text, std::string& cause);
  // Copies the damaged bytes beside the file; the copy's path, or empty when none could be written.
  std::u16string KeepDamagedCopy(const std::string& text) const;
  void StartOver();

  tinyxml2::XMLDocument* mDocument = nullptr;
  tinyxml2::XMLElement* mRoot = nullptr;
  tinyxml2::XMLElement* mCurrent = nullptr;
  // Set while a file exists that this session could not read: saving would destroy it.
  bool mSaveBlocked = false;

  static inline bool sProfileReset = false;
  static inline bool sProfileUnreadable = false;
  static inline std::u16string sDamagedCopyPath;
  // 0 no failure yet, 1 failed and not yet told, 2 told.
  static inline int sSaveFailure = 0;
  static inline bool sSecondInstance = false;
};

}  // namespace file
