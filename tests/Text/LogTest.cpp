#include "Core/Base/LogMessage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "Core/App/Application.h"
#include "Core/Base/StringEncoding.h"

namespace {

using Writes = std::vector<std::u16string>;

class RecordingOutput : public base::LogOutput {
 public:
  explicit RecordingOutput(Writes* writes) : mWrites(writes) {}
  void Write(const std::u16string& text) override { mWrites->push_back(text); }

 private:
  Writes* mWrites;
};

std::unique_ptr<base::LogOutput> Recording(Writes& writes) { return std::make_unique<RecordingOutput>(&writes); }

// The header as stored in the file: every line feed is CR LF.
const std::string kStoredHeader =
    "<html><head><meta http-equiv=Content-Type content=\"text/html; charset=utf-8\"><meta "
    "http-equiv=Content-Language content=ru><style>\r\n"
    "body {font-family:verdana;}\r\n"
    "hr { size:1px;color:000000 }\r\n"
    "div.error { border-width:0 0 0 0px;border-style:solid;border-color:FF0000;color:AA0000;background:#CCCCCC;"
    "font-weight:bold;padding-bottom:0px; }\r\n"
    "span.info { color:000000; }\r\n"
    "div.block { border-width:1px;border-style:solid;border-color:000000;padding:3px;margin-bottom:5px; }\r\n"
    "div.blockhead { border-width:0px;padding:3px; font-weight:bold ;color:000000;background:#DDDDDD;}\r\n"
    "</style></head>\r\n"
    "<body>\r\n";

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class LogFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mFolder = std::filesystem::path(::testing::TempDir()) /
              ("logtest_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(mFolder);
    mPath = mFolder / "log.html";
  }
  void TearDown() override { std::filesystem::remove_all(mFolder); }

  std::u16string WidePath() const { return base::ToWide(mPath.string(), base::kEncodingUtf8); }

  std::filesystem::path mFolder;
  std::filesystem::path mPath;
};

TEST(LogTest, HeaderIsTheDeclaredLengthWithUtf8) {
  // 589 characters with "windows-1251"; "utf-8" is seven shorter; nine line feeds became CR LF.
  EXPECT_EQ(kStoredHeader.size(), 589u - 7u + 9u);
}

TEST(LogTest, DebuggerAloneGetsTheBareText) {
  Writes writes;
  {
    base::Log log;
    log.AddTextOutput(Recording(writes));
    base::LogMessage(u"RenderDX9::LostDevice()\n", &log) << base::LogStyle::Plain;
    EXPECT_EQ(writes, (Writes{u"log initialized\n", u"RenderDX9::LostDevice()\n"}));
  }
  EXPECT_EQ(writes.back(), u"log terminated\n");
}

TEST(LogTest, HtmlOutputsGetTheStylesAndTextOutputsTheText) {
  Writes html;
  Writes text;
  Writes secondHtml;
  {
    base::Log log;
    log.AddHtmlOutput(Recording(html));
    log.AddTextOutput(Recording(text));
    log.AddHtmlOutput(Recording(secondHtml));
    html.clear();
    text.clear();
    secondHtml.clear();

    base::LogMessage(u"RenderDX9::LostDevice()\n", &log) << base::LogStyle::Plain;
    (base::LogMessage(u"Trying to Load already loaded resource '%s'.\n", &log) << base::LogStyle::Block) %
        std::u16string(u"ruv/font");
    base::LogMessage(u"nested", &log) << base::LogStyle::Plain << base::LogStyle::Block;
    base::LogMessage(u"unstyled", &log);

    const Writes expectedHtml = {
        u"<div class=\"\">RenderDX9::LostDevice()\n</div>",
        u"<div class=\"block\">Trying to Load already loaded resource 'ruv/font'.\n</div>",
        u"<div class=\"\"><div class=\"block\">nested</div></div>",
        u"unstyled",
    };
    EXPECT_EQ(html, expectedHtml);
    EXPECT_EQ(secondHtml, expectedHtml);
    EXPECT_EQ(text, (Writes{u"RenderDX9::LostDevice()\n", u"Trying to Load already loaded resource 'ruv/font'.\n",
                            u"nested", u"unstyled"}));
    html.clear();
    text.clear();
    secondHtml.clear();
  }
  EXPECT_EQ(html, (Writes{u"</body></html>"}));
  EXPECT_EQ(secondHtml, (Writes{u"</body></html>"}));
  EXPECT_EQ(text, (Writes{u"log terminated\n"}));
}

TEST(LogTest, ArgumentsFillEveryOutputAndExcessOnesAreIgnored) {
  Writes html;
  Writes text;
  base::Log log;
  log.AddHtmlOutput(Recording(html));
  log.AddTextOutput(Recording(text));
  (base::LogMessage(u"Max texture Width: %d\n", &log) << base::LogStyle::Plain) % 4096 % 17;
  (base::LogMessage(u"%u|%.2f|%g|%s|%d", &log)) % 3u % 2.5f % 0.1f % std::u16string(u"x");
  EXPECT_EQ(html.back(), u"3|2.50|0.1|x|");
  EXPECT_EQ(text, (Writes{u"log initialized\n", u"Max texture Width: 4096\n", u"3|2.50|0.1|x|"}));
  EXPECT_EQ(html[1], u"<div class=\"\">Max texture Width: 4096\n</div>");
}

TEST(LogTest, StatementsWithoutOutputsWriteNothing) {
  Writes writes;
  base::Log log;
  base::LogMessage(u"nobody hears this %d", &log) % 1;
  base::LogMessage(u"nor this", nullptr) << base::LogStyle::Block;
  log.AddTextOutput(Recording(writes));
  EXPECT_EQ(writes, (Writes{u"log initialized\n"}));
}

TEST(LogTest, MovedStatementIsWrittenOnce) {
  Writes writes;
  base::Log log;
  log.AddTextOutput(Recording(writes));
  {
    base::LogMessage first(u"once", &log);
    base::LogMessage second(std::move(first));
  }
  EXPECT_EQ(writes, (Writes{u"log initialized\n", u"once"}));
}

TEST(LogTest, SourceStyleHeadsABlock) {
  const base::LogStyle style = base::LogStyle::Source("Game/Battle/RuvMap.cpp", 120, "Dec 10 2026", "load<int>&");
  EXPECT_EQ(style.GetPrefix(),
            u"<div class=\"block\"><div class=\"blockhead\">Game/Battle/RuvMap.cpp(120): Dec 10 2026 "
            u"load&lt;int&gt;&amp;</div>");
  EXPECT_EQ(style.GetSuffix(), u"</div>");

  const base::LogStyle here = VN_LOG_SOURCE;
  EXPECT_NE(here.GetPrefix().find(u"LogTest.cpp("), std::u16string::npos);
  EXPECT_NE(here.GetPrefix().find(u"TestBody</div>"), std::u16string::npos);
}

TEST_F(LogFileTest, StoresExactBytesAndIsCompleteAfterEveryEntry) {
  {
    base::Log log;
    log.AddHtmlOutput(std::make_unique<base::LogUtf8File>(WidePath()));
    EXPECT_EQ(ReadBytes(mPath), kStoredHeader);

    base::LogMessage(u"RenderDX9::LostDevice()\n", &log) << base::LogStyle::Plain;
    (base::LogMessage(u"new ruv point (%g, %g)#%d!", &log)
     << base::LogStyle::Source("Game/Battle/RuvMap.cpp", 120, "Dec 10 2026", "loadLevelFile")) %
        12.5f % 3.0f % 7;
    base::LogMessage(u"Player \u00e9\U0001F600\r\n", &log) << base::LogStyle::Plain;
    const std::string entries =
        "<div class=\"\">RenderDX9::LostDevice()\r\n</div>"
        "<div class=\"block\"><div class=\"blockhead\">Game/Battle/RuvMap.cpp(120): Dec 10 2026 loadLevelFile</div>"
        "new ruv point (12.5, 3)#7!</div>"
        "<div class=\"\">Player \xc3\xa9\xf0\x9f\x98\x80\r\r\n</div>";
    EXPECT_EQ(ReadBytes(mPath), kStoredHeader + entries);
  }
  EXPECT_EQ(ReadBytes(mPath).substr(kStoredHeader.size()).rfind("</div></body></html>"),
            ReadBytes(mPath).size() - kStoredHeader.size() - 20);
}

TEST_F(LogFileTest, SecondRunTruncatesAndStartsWithTheHeader) {
  {
    std::ofstream old(mPath, std::ios::binary);
    old << std::string(5000, 'x');
  }
  {
    base::Log log;
    log.AddHtmlOutput(std::make_unique<base::LogUtf8File>(WidePath()));
  }
  EXPECT_EQ(ReadBytes(mPath), kStoredHeader + "</body></html>");
}

TEST_F(LogFileTest, UncreatableFileLosesItsWritesAndOthersGoOn) {
  Writes text;
  {
    base::Log log;
    log.AddHtmlOutput(std::make_unique<base::LogUtf8File>(WidePath() + u"/missing/log.html"));
    log.AddTextOutput(Recording(text));
    base::LogMessage(u"still here", &log);
  }
  EXPECT_EQ(text, (Writes{u"log initialized\n", u"still here", u"log terminated\n"}));
  EXPECT_FALSE(std::filesystem::exists(mFolder / "log.html" / "missing"));
}

// Start-up in a child process: the debugger output (standard error with QUELLMARK_DEBUG_OUTPUT)
// sees the opening line, the log file's line and the closing line; the file gets the rest.
TEST_F(LogFileTest, StartUpAttachesDebuggerOutputThenLogFile) {
  const std::string folder = mFolder.string() + "/";
  const auto start = [&] {
    setenv("QUELLMARK_DEBUG_OUTPUT", "1", 1);
    setenv("XDG_DATA_HOME", folder.c_str(), 1);
    app::Application* application = app::Application::Instance();
    if (application->InitPlatform() != VN_OK) std::exit(1);
    application->InitLogFile(base::ToWide(folder, base::kEncodingUtf8));
    if (application->GetLogFolder() != base::ToWide(folder, base::kEncodingUtf8)) std::exit(2);
    base::LogPlain(u"in the file %d\n") % 1;
    base::LogBlock(u"warning\n");
    std::exit(0);
  };
  EXPECT_EXIT(start(), ::testing::ExitedWithCode(0),
              "^log initialized\n" + mPath.string() +
                  "\\(0\\): Html log file\nin the file 1\nwarning\nlog terminated\n$");
  EXPECT_EQ(ReadBytes(mPath), kStoredHeader +
                                  "<div class=\"\">in the file 1\r\n</div><div class=\"block\">warning\r\n</div>"
                                  "</body></html>");
}

}  // namespace
