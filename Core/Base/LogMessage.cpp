#include "Core/Base/LogMessage.h"

namespace base {

void LogFormat::Finish() {
  PutRest();
  mOutput->Write(mPrefix + GetOutput() + mSuffix);
}

LogMessage::LogMessage(const char16_t* format, Log* log)
    : LogMessage(format ? std::u16string(format) : std::u16string(), log) {}

LogMessage::LogMessage(const std::u16string& format, Log* log) : mLog(log) {
  if (!log) return;
  // The outputs live as long as the log; the lists may grow on another thread meanwhile.
  std::lock_guard<std::recursive_mutex> lock(log->GetLock());
  mHtml.reserve(log->GetHtmlOutputs().size());
  for (const auto& output : log->GetHtmlOutputs()) mHtml.emplace_back(format, output.get());
  mText.reserve(log->GetTextOutputs().size());
  for (const auto& output : log->GetTextOutputs()) mText.emplace_back(format, output.get());
}

LogMessage::LogMessage(LogMessage&& other) noexcept
    : mLog(other.mLog), mHtml(std::move(other.mHtml)), mText(std::move(other.mText)) {
  other.mLog = nullptr;
  other.mHtml.clear();
  other.mText.clear();
}

LogMessage::~LogMessage() {
  if (!mLog) return;
  // One entry reaches every output before another thread's entry starts.
  std::lock_guard<std::recursive_mutex> lock(mLog->GetLock());
  for (LogFormat& format : mHtml) format.Finish();
  for (LogFormat& format : mText) format.Finish();
}

LogMessage& LogMessage::ApplyStyle(const LogStyle& style) {
  for (LogFormat& format : mHtml) {
    format.mPrefix += style.GetPrefix();
    format.mSuffix.insert(0, style.GetSuffix());
  }
  return *this;
}

template <class Apply>
LogMessage& LogMessage::ForEach(Apply apply) {
  for (LogFormat& format : mHtml) apply(format);
  for (LogFormat& format : mText) apply(format);
  return *this;
}

LogMessage& LogMessage::ArgInt(int value) {
  return ForEach([&](LogFormat& format) { format.ArgInt(value); });
}

LogMessage& LogMessage::ArgUnsigned(unsigned int value) {
  return ForEach([&](LogFormat& format) { format.ArgUnsigned(value); });
}

LogMessage& LogMessage::ArgFloat(float value) {
  return ForEach([&](LogFormat& format) { format.ArgFloat(value); });
}

LogMessage& LogMessage::ArgString(const std::u16string& text) {
  return ForEach([&](LogFormat& format) { format.ArgString(text); });
}

namespace {

LogMessage MainLogMessage(const std::u16string& format, const LogStyle& style) {
  LogMessage message(format, MainLog::Instance());
  message << style;
  return message;
}

}  // namespace

LogMessage LogPlain(const char16_t* format) { return MainLogMessage(format ? format : u"", LogStyle::Plain); }

LogMessage LogPlain(const std::u16string& format) { return MainLogMessage(format, LogStyle::Plain); }

LogMessage LogBlock(const char16_t* format) { return MainLogMessage(format ? format : u"", LogStyle::Block); }

}  // namespace base
