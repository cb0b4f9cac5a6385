// Saving documents as UTF-16 text and as HTML pages, through real documents
// over real files.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/DocTestHelpers.h"
#include "export/ExportDocument.h"
#include "export/HtmlPage.h"
#include "export/SaveAs.h"
#include "filters/HighlightColorizer.h"
#include "filters/HighlightFilters.h"
#include "filters/HighlightTestFilters.h"

namespace exporting {
namespace {

constexpr std::uint32_t kText = 0x000000;
constexpr std::uint32_t kBkg = 0xFFFFFF;
// Red 0x11, green 0x22, blue 0x33 and its background one step up.
constexpr std::uint32_t kPhrase = 0x332211;

class ExportTest : public doc_test::DocTest {
protected:
    ExportTest() {
        style.windowColor = kBkg;
        style.windowTextColor = kText;
        style.defaultText = kText;
        style.defaultBkg = kBkg;
        style.fontFace = u"Courier New";
    }

    core::CTarvikDoc& OpenWith(const std::string& name, std::string_view utf8) {
        Write(name, utf8);
        return Open(name);
    }
    ExportDocument Plain(const core::CTarvikDoc& doc) const { return DocumentToExport(doc, {}); }
    ExportDocument Coloured(const core::CTarvikDoc& doc) const {
        return DocumentToExport(doc, [this](std::u16string_view text, filters::LineColors& colors,
                                            filters::HighlightRunList& runs) {
            filters::ColorizeLine(highlights, text, style.highlight, filters::ColorizeMode::Drawing,
                                  colors, runs);
        });
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(PathOf(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // The HTML body of one saved document: what lies between the font tags.
    std::string HtmlLines(const ExportDocument& doc) {
        EXPECT_TRUE(SaveDocumentAs(Path16("page.htm"), doc, style, &ui));
        const std::string page = Read("page.htm");
        const std::string open = "<p><font face='Courier New' size='2'>\r\n";
        const std::size_t start = page.find(open);
        const std::size_t end = page.find("</font></p>\r\n");
        if (start == std::string::npos || end == std::string::npos) return "(no body) " + page;
        return page.substr(start + open.size(), end - start - open.size());
    }

    HtmlStyle style;
    filters::CHighlightFilters highlights;
};

TEST_F(ExportTest, ExtensionDecidesTheFormatWithoutCase) {
    EXPECT_EQ(FormatOfName(u"/tmp/a.HTML"), SaveFormat::Html);
    EXPECT_EQ(FormatOfName(u"/tmp/a.Htm"), SaveFormat::Html);
    EXPECT_EQ(FormatOfName(u"/tmp/a.txt"), SaveFormat::Text);
    EXPECT_EQ(FormatOfName(u"/tmp/a.html.log"), SaveFormat::Text);
    EXPECT_EQ(FormatOfName(u"/tmp/site.htm/notes"), SaveFormat::Text);

    const ExportDocument doc = Plain(OpenWith("app.log", "one\ntwo"));
    ASSERT_TRUE(SaveDocumentAs(Path16("out.HTML"), doc, style, &ui));
    EXPECT_EQ(Read("out.HTML").rfind("<html><head>", 0), 0u);
    for (const char* name : {"out.txt", "out"}) {
        ASSERT_TRUE(SaveDocumentAs(Path16(name), doc, style, &ui));
        EXPECT_EQ(Read(name), doc_test::Utf16Bytes(u"one\r\ntwo", true)) << name;
    }
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.waitDepth, 0);
}

TEST_F(ExportTest, TextExportReadsBackThroughADocumentUnchanged) {
    const core::CTarvikDoc& original =
        OpenWith("app.log", "first line\n\tgrüße  \"quoted\" <b>\n\nlast € line");
    ASSERT_EQ(original.Buffer().LineCount(), 4);
    ASSERT_TRUE(SaveDocumentAs(Path16("copy.log"), Plain(original), style, &ui));

    const core::CTarvikDoc& copy = Open("copy.log");
    EXPECT_EQ(copy.Encoding(), core::TextEncoding::Utf16Le);
    EXPECT_EQ(Text(copy), Text(original));
}

TEST_F(ExportTest, SpacesPairUpAsNonBreakingAndSpecialCharactersAreEscaped) {
    const ExportDocument doc = Plain(OpenWith("app.log", "a  b\na   b\n& \"x\" <y> 'z'\t.\nü"));
    EXPECT_EQ(HtmlLines(doc),
              "a &nbsp;b<br>\r\n"
              "a &nbsp; b<br>\r\n"
              "&amp; &quot;x&quot; &lt;y&gt; 'z'\t.<br>\r\n"
              "\xC3\xBC<br>\r\n");
}

TEST_F(ExportTest, HighlightedLineIsWrittenAsThreeSegmentsWithTheirColours) {
    highlights.Replace({filters::highlight_test::Filter(u"ERROR", kPhrase)});
    // Characters 5 to 9 of a 20-character line.
    const ExportDocument doc = Coloured(OpenWith("app.log", "12:00ERROR disk full\nplain"));
    const auto span = [](const char* bkg, const char* text, const char* content) {
        return std::string("<span style=\"background-color: rgb(") + bkg +
               ");\"><span style=\"color: rgb(" + text + ");\">" + content + "</span></span>";
    };
    // HLLineBkgColor is red 255, green 255, blue 192.
    EXPECT_EQ(HtmlLines(doc), span("255, 255, 192", "0, 0, 0", "12:00") +
                                  span("17, 35, 51", "17, 34, 51", "ERROR") +
                                  span("255, 255, 192", "0, 0, 0", " disk full") +
                                  "<br>\r\nplain<br>\r\n");

    style.highlight.HighlightLine = false;
    EXPECT_EQ(HtmlLines(doc), span("255, 255, 255", "0, 0, 0", "12:00") +
                                  span("17, 35, 51", "17, 34, 51", "ERROR") +
                                  span("255, 255, 255", "0, 0, 0", " disk full") +
                                  "<br>\r\nplain<br>\r\n");
}

TEST_F(ExportTest, PageHasItsHeaderAndFooter) {
    style.windowColor = 0x00C0FFFF;
    style.windowTextColor = 0x00010203;
    const core::CTarvikDoc& doc = OpenWith("app.log", "line x");
    ASSERT_TRUE(SaveDocumentAs(Path16("page.html"), Plain(doc), style, &ui));
    const std::string path = PathOf("app.log");
    EXPECT_EQ(Read("page.html"),
              "<html><head><meta charset='utf-8'><title>" + path +
                  "</title>\r\n<meta name='generator' content='Ostra Tarvik (Unicode) "
                  "(https://ostra-tarvik.example.org)'></head>\r\n"
                  "<body bgcolor='#FFFFC0' text='#030201'>\r\n"
                  "<p><font face='Courier New' size='2'>\r\nline x<br>\r\n</font></p>\r\n"
                  "<hr>\r\n<p><i>The file was generated by "
                  "<a href='https://ostra-tarvik.example.org'>Ostra Tarvik (Unicode)</a>."
                  "</i></p>\r\n</body></html>");

    // A file name and a face name with markup characters stay text.
    style.fontFace = u"O'Mono";
    const core::CTarvikDoc& odd = OpenWith("<b>'&\".log", "y");
    ASSERT_TRUE(SaveDocumentAs(Path16("odd.htm"), Plain(odd), style, &ui));
    const std::string page = Read("odd.htm");
    EXPECT_NE(page.find("&lt;b&gt;&#39;&amp;&quot;.log</title>"), std::string::npos) << page;
    EXPECT_NE(page.find("<font face='O&#39;Mono' size='2'>"), std::string::npos) << page;
    EXPECT_EQ(page.find("<b>"), std::string::npos) << page;
}

TEST_F(ExportTest, SaveAllAsSeparatesDocumentsByTheBlankLinesAndNamesThem) {
    const std::vector<ExportDocument> docs = {Plain(OpenWith("a.log", "a1\na2")),
                                              Plain(OpenWith("b.log", "b1"))};
    ASSERT_TRUE(SaveDocumentsAs(Path16("all.txt"), docs, {false, 2}, style, &ui));
    // One empty line between the two; the breaks after the last are written.
    EXPECT_EQ(Read("all.txt"), doc_test::Utf16Bytes(u"a1\r\na2\r\n\r\nb1\r\n\r\n", true));

    ASSERT_TRUE(SaveDocumentsAs(Path16("all.txt"), docs, {true, 0}, style, &ui));
    const std::u16string a = Path16("a.log"), b = Path16("b.log");
    EXPECT_EQ(Read("all.txt"),
              doc_test::Utf16Bytes(a + u"\r\n\r\na1\r\na2" + b + u"\r\n\r\nb1", true));

    ASSERT_TRUE(SaveDocumentsAs(Path16("all.htm"), docs, {true, 5}, style, &ui));
    const std::string page = Read("all.htm");
    const std::string pathA = PathOf("a.log"), pathB = PathOf("b.log");
    EXPECT_EQ(page.rfind("<html><head><meta charset='utf-8'><title>2 Files</title>\r\n", 0), 0u);
    EXPECT_NE(page.find("<ul>\r\n<li><a href='#1'>" + pathA + "</a></li>\r\n<li><a href='#2'>" +
                        pathB + "</a></li>\r\n</ul>\r\n<hr><h2><a name='1'></a>" + pathA +
                        "</h2>\r\n<p><font face='Courier New' size='2'>\r\na1<br>\r\na2<br>\r\n"
                        "</font></p>\r\n<hr><h2><a name='2'></a>" +
                        pathB + "</h2>\r\n"),
              std::string::npos)
        << page;

    ASSERT_TRUE(SaveDocumentsAs(Path16("all.htm"), docs, {false, 5}, style, &ui));
    EXPECT_EQ(Read("all.htm").find("<ul>"), std::string::npos);
    EXPECT_EQ(Read("all.htm").find("<h2>"), std::string::npos);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ExportTest, FailureToCreateOrToWriteIsReportedNeverSuccess) {
    const ExportDocument doc = Plain(OpenWith("app.log", "some text"));
    const std::u16string missing = Path16("no-such-folder/out.txt");
    EXPECT_FALSE(SaveDocumentAs(missing, doc, style, &ui));
    // A device that takes the file but not its bytes: the text is lost, so
    // the save failed.
    EXPECT_FALSE(SaveDocumentsAs(u"/dev/full", {doc}, {}, style, &ui));
    std::filesystem::create_symlink("/dev/full", PathOf("full.htm"));
    EXPECT_FALSE(SaveDocumentAs(Path16("full.htm"), doc, style, &ui));
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[0], u"Failed to save to file \"" + missing + u"\".");
    EXPECT_EQ(ui.messages[1], u"Failed to save to file \"/dev/full\".");
    EXPECT_EQ(ui.icons[0], core::MessageIcon::Exclamation);
    EXPECT_EQ(ui.waitDepth, 0);
}

// A save onto a followed log, under any name that leads to it, would cut the
// live log to the buffer's tail: it is refused and the log stays whole.
TEST_F(ExportTest, SavingOntoAnOpenDocumentsFileIsRefused) {
    core::CTarvikDoc& followed = OpenWith("app.log", "line one\nline two\n");
    const core::CTarvikDoc& other = OpenWith("other.log", "x\n");
    const ExportDocument doc = Plain(other);
    const std::vector<const core::CTarvikDoc*> open = {&followed, &other};
    const std::vector<platform::FileIdentity> openFiles = FilesOfDocuments(open);
    std::filesystem::create_symlink(PathOf("app.log"), PathOf("link.log"));
    std::filesystem::create_hard_link(PathOf("app.log"), PathOf("hard.log"));
    const std::vector<std::u16string> names = {Path16("app.log"), Path16("./app.log"),
                                               Path16("link.log"), Path16("hard.log")};
    for (const std::u16string& name : names) {
        EXPECT_FALSE(SaveDocumentAs(name, doc, style, &ui, openFiles));
        EXPECT_FALSE(SaveDocumentsAs(name, {doc}, {}, style, &ui, openFiles));
    }
    EXPECT_EQ(Read("app.log"), "line one\nline two\n");
    ASSERT_EQ(ui.messages.size(), 2 * names.size());
    EXPECT_EQ(ui.messages[0], u"Failed to save to file \"" + names[0] + u"\".");
    // Any other file is saved as before, an existing one replaced.
    Write("old.txt", "old text that is longer");
    EXPECT_TRUE(SaveDocumentAs(Path16("old.txt"), doc, style, &ui, openFiles));
    EXPECT_TRUE(SaveDocumentAs(Path16("new.txt"), doc, style, &ui, openFiles));
    EXPECT_EQ(Read("old.txt"), Read("new.txt"));
    EXPECT_EQ(ui.messages.size(), 2 * names.size());
}

}  // namespace
}  // namespace exporting
