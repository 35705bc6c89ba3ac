#pragma once
// A recording Direct3D 9 for unit tests of the back end: every call is written to a list as text,
// results and capabilities come from a script. Installing it makes d3d9::Direct3DCreate9 return
// a Direct3D object that answers from this script.
#include <map>
#include <deque>
#include <string>
#include <vector>

#include "Platform/D3D9/D3D9.h"

namespace fakes {

class RecordingD3D {
 public:
  RecordingD3D();
  // Uninstalls.
  ~RecordingD3D();
  RecordingD3D(const RecordingD3D&) = delete;
  RecordingD3D& operator=(const RecordingD3D&) = delete;

  // The next results of a call, by its name ("CreateDevice", "Reset", "TestCooperativeLevel"...);
  // once they are used up the call answers D3D_OK.
  void Script(const std::string& call, std::vector<d3d9::HRESULT> results);
  // The result every later call of that name gives.
  void ScriptAlways(const std::string& call, d3d9::HRESULT result);

  // Calls in order, as "Name(arg, ...)".
  const std::vector<std::string>& Calls() const { return mCalls; }
  // The calls whose text starts with prefix.
  std::vector<std::string> CallsStartingWith(const std::string& prefix) const;
  void ClearCalls() { mCalls.clear(); }
  // False stops writing the call list (benchmarks).
  void SetRecording(bool recording) { mRecording = recording; }

  // Used by the recording objects.
  d3d9::HRESULT Call(const std::string& name, const std::string& arguments);
  void Record(const std::string& text);

  d3d9::D3DCAPS9 mCaps;
  d3d9::D3DDISPLAYMODE mDisplayMode = {1024, 768, 60, d3d9::D3DFMT_X8R8G8B8};
  // Row pitch of texture locks: 0 = width * 4.
  int mLockPitch = 0;
  // Objects alive, all pools and the default pool; outstanding back-buffer references.
  int mLiveObjects = 0;
  int mDefaultPoolObjects = 0;
  int mBackBufferReferences = 0;

 private:
  static d3d9::IDirect3D9* Create(d3d9::UINT sdkVersion);

  std::vector<std::string> mCalls;
  std::map<std::string, std::deque<d3d9::HRESULT>> mScripted;
  std::map<std::string, d3d9::HRESULT> mAlways;
  bool mRecording = true;
};

}  // namespace fakes
