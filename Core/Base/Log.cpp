#include "Core/Base/Log.h"

namespace base {

namespace {

// The file is UTF-8, and the header says so, so that names and paths outside ASCII read right.
constexpr char16_t kHtmlHeader[] =
    u"<html><head><meta http-equiv=Content-Type content=\"text/html; charset=utf-8\">"
    u"<meta http-equiv=Content-Language content=ru><style>\n"
    u"body {font-family:verdana;}\n"
    u"hr { size:1px;color:000000 }\n"
    u"div.error { border-width:0 0 0 0px;border-style:solid;border-color:FF0000;color:AA0000;"
    u"background:#CCCCCC;font-weight:bold;padding-bottom:0px; }\n"
    u"span.info { color:000000; }\n"
    u"div.block { border-width:1px;border-style:solid;border-color:000000;padding:3px;margin-bottom:5px; }\n"
    u"div.blockhead { border-width:0px;padding:3px; font-weight:bold ;color:000000;background:#DDDDDD;}\n"
    u"</style></head>\n"
    u"<body>\n";
constexpr char16_t kHtmlClosing[] = u"</body></html>";
constexpr char16_t kTextOpening[] = u"log initialized\n";
constexpr char16_t kTextClosing[] = u"log terminated\n";

}  // namespace

Log::~Log() {
  std::lock_guard<std::recursive_mutex> lock(mLock);
  for (auto& output : mHtmlOutputs) {
    output->Write(kHtmlClosing);
    output.reset();
  }
  for (auto& output : mTextOutputs) {
    output->Write(kTextClosing);
    output.reset();
  }
}

void Log::AddHtmlOutput(std::unique_ptr<LogOutput> output) {
  if (!output) return;
  std::lock_guard<std::recursive_mutex> lock(mLock);
  output->Write(kHtmlHeader);
  mHtmlOutputs.push_back(std::move(output));
}

void Log::AddTextOutput(std::unique_ptr<LogOutput> output) {
  if (!output) return;
  std::lock_guard<std::recursive_mutex> lock(mLock);
  output->Write(kTextOpening);
  mTextOutputs.push_back(std::move(output));
}

}  // namespace base
