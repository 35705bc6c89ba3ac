#include "fakes/MainLogRecorder.h"

namespace fakes {

namespace {

// Writes go to the shared list while a recorder is alive; afterwards they are dropped.
class SharedOutput : public base::LogOutput {
 public:
  explicit SharedOutput(std::weak_ptr<std::vector<std::u16string>> writes) : mWrites(std::move(writes)) {}
  void Write(const std::u16string& text) override {
    if (auto writes = mWrites.lock()) writes->push_back(text);
  }

 private:
  std::weak_ptr<std::vector<std::u16string>> mWrites;
};

}  // namespace

MainLogRecorder::MainLogRecorder(Kind kind) : mWrites(std::make_shared<std::vector<std::u16string>>()) {
  base::MainLog* log = base::MainLog::Instance();
  // Other threads may be logging: the greeting is dropped before their entries can arrive.
  std::lock_guard<std::recursive_mutex> lock(log->GetLock());
  if (kind == kHtml) {
    log->AddHtmlOutput(std::make_unique<SharedOutput>(mWrites));
  } else {
    log->AddTextOutput(std::make_unique<SharedOutput>(mWrites));
  }
  mWrites->clear();  // the greeting or header of a new output
}

MainLogRecorder::~MainLogRecorder() = default;

std::u16string MainLogRecorder::Text() const {
  std::lock_guard<std::recursive_mutex> lock(base::MainLog::Instance()->GetLock());
  std::u16string text;
  for (const auto& write : *mWrites) text += write;
  return text;
}

}  // namespace fakes
