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

  // Saves (unless this process is a second instance that is about to stop) and frees the document.
  ~Profiles() override;
  // The user-data container, which must outlive the profiles.
  std::vector<base::SingletoneBase*> GetDependencies() override;

  // (Re)reads the file. A missing file starts with the default profile; a file that cannot be read
  // or parsed, or lacks the root, the current name or a profile's name, starts over with the
  // default profile and sets the profile-reset flag. Never writes the file.
  void Load();
  // Writes the document to "profiles.xml" through a temporary file beside it that is synced and then
  // renamed over it, so a crash or a full disk never leaves a cut file. Returns the XML library's
  // code: XML_SUCCESS, or an error (logged) with the document kept in memory.
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

  // Set when a load found the file unreadable; the game tells the player and clears it.
  static bool IsProfileReset() { return sProfileReset; }
  static void SetProfileReset(bool reset) { sProfileReset = reset; }

 private:
  // Parses the existing file into the document; false when it cannot be used.
  bool ReadFile();
  void StartOver();

  tinyxml2::XMLDocument* mDocument = nullptr;
  tinyxml2::XMLElement* mRoot = nullptr;
  tinyxml2::XMLElement* mCurrent = nullptr;

  static inline bool sProfileReset = false;
  static inline bool sSecondInstance = false;
};

}  // namespace file
