// Random sequences of what log writers do (appends of whole and partial lines,
// odd bytes, preallocated NULs, cuts, copytruncate, rotation, replacement,
// deletion and re-creation), done by a second process, with polls of a real
// document in between. After every poll the document must show exactly what
// the reference model says, hold the same read position and count the same
// text size. Seeded, so a failure names the seed and the steps that led to it.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "ModelFile.h"
#include "ReferenceDocument.h"
#include "WriterProcess.h"
#include "core/DocContext.h"
#include "core/TarvikDoc.h"
#include "filters/InExFilterList.h"
#include "platform/CodePage.h"
#include "platform/IClock.h"
#include "settings/Options.h"

namespace follow_test {
namespace {

constexpr int kStepsPerRun = 150;
constexpr int kRunsPerSetting = 6;
constexpr std::size_t kHistoryShown = 12;

struct PropertySetting {
    const char* name;
    ReferenceSettings reference;
};

std::string Visible(std::u16string_view units) {
    std::string out;
    char buf[12];
    for (char16_t u : units) {
        if (u >= 0x20 && u < 0x7F) {
            out.push_back(static_cast<char>(u));
        } else {
            std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(u));
            out += buf;
        }
    }
    return out;
}

std::string Visible(const std::vector<std::u16string>& lines) {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) out += "  [" + Visible(lines[i]) + "]\n";
    return out;
}

void PrintTo(const PropertySetting& setting, std::ostream* os) {
    *os << setting.name;
}

filters::InExFilter PlainFilter(const std::u16string& phrase) {
    filters::InExFilter filter;
    filter.phrase.Assign(phrase, true, false);
    return filter;
}

// One run: a writer, a file, a document and the model that predicts it.
class PropertyRun {
public:
    PropertyRun(const PropertySetting& setting, unsigned seed, const std::string& folder)
        : setting_(setting),
          seed_(seed),
          random_(seed),
          path_(folder + "/followed.log"),
          reference_(setting.reference) {
        options_.TextEncoding = settings::TextEncodingChoice::Utf16Le;
        options_.LimitBufSize = setting.reference.limitBufSize;
        options_.MaxBufSiz = setting.reference.maxBufSiz;
        options_.RetainLineNum = setting.reference.retainLineNum;
        std::vector<filters::InExFilter> include, exclude;
        if (!setting.reference.include.empty()) {
            include.push_back(PlainFilter(setting.reference.include));
        }
        if (!setting.reference.exclude.empty()) {
            exclude.push_back(PlainFilter(setting.reference.exclude));
        }
        filters_.Replace(std::move(include), std::move(exclude));
    }

    void Run() {
        ASSERT_TRUE(writer_.IsRunning()) << "cannot start " << WriterProcess::ProgramPath();
        Write(InitialContent(), "initial content");
        ASSERT_TRUE(reference_.Open(file_));
        ASSERT_TRUE(doc_.OnOpenDocument(platform::Utf8ToUtf16(path_)));
        Compare("opening");
        for (int step = 0; step < kStepsPerRun && !::testing::Test::HasFailure(); ++step) {
            DoRandomAction();
            const int polls = static_cast<int>(Pick(4));  // 0 lets actions pile up
            for (int p = 0; p < polls && !::testing::Test::HasFailure(); ++p) {
                doc_.CheckFile();
                reference_.Poll(file_);
                Compare("poll " + std::to_string(p + 1) + " after step " + std::to_string(step));
            }
        }
    }

private:
    std::uint32_t Pick(std::uint32_t n) { return static_cast<std::uint32_t>(random_() % n); }

    char16_t RandomUnit() {
        static constexpr char16_t kRare[] = {u'\r', u'\t', 0x07, 0x00, 0x7F, 0xE9, 0x65E5, 0xD83D};
        static constexpr char16_t kCommon[] = {u'a', u'b', u'c', u' ', u'E', u'R', u'x', u'1'};
        const std::uint32_t roll = Pick(100);
        if (roll < 12) return u'\n';
        if (roll < 20) return kRare[Pick(std::size(kRare))];
        return kCommon[Pick(std::size(kCommon))];
    }

    std::u16string RandomUnits(std::size_t maxCount) {
        std::u16string units(1 + Pick(static_cast<std::uint32_t>(maxCount)), u'\0');
        for (char16_t& u : units) u = RandomUnit();
        return units;
    }

    std::string InitialContent() {
        std::string bytes = Pick(3) == 0 ? std::string("\xFF\xFE", 2) : std::string();
        bytes += BytesOf(RandomUnits(1500));
        if (Pick(4) == 0) bytes.append(2 * Pick(40), '\0');
        return bytes;
    }

    void Write(const std::string& bytes, const std::string& what) {
        Expect(writer_.AppendBytes(path_, bytes), what);
        file_.Append(bytes);
    }

    void Expect(const std::string& failure, const std::string& what) {
        history_.push_back(what);
        if (history_.size() > kHistoryShown) history_.pop_front();
        ASSERT_EQ(failure, "") << what;
    }

    void DoRandomAction() {
        const std::uint32_t roll = Pick(100);
        const bool exists = file_.Exists();
        if (roll < 45) {
            Write(BytesOf(RandomUnits(roll < 10 ? 3 : 400)), "append units");
        } else if (roll < 49) {
            Write(std::string(1, static_cast<char>(Pick(256))), "append one byte");
        } else if (roll < 54 && exists) {
            Write(std::string(2 * (1 + Pick(30)), '\0'), "append NULs");
        } else if (roll < 60 && exists) {
            const std::u16string units = RandomUnits(40);
            Expect(writer_.OverwriteNulsWithUnits(path_, units), "overwrite NULs");
            file_.OverwriteNuls(BytesOf(units), 2);
        } else if (roll < 74 && exists) {
            const std::uint64_t cut = CutSize();
            Expect(writer_.Run("cut " + path_ + " " + std::to_string(cut)),
                   "cut to " + std::to_string(cut));
            file_.Cut(cut);
        } else if (roll < 78 && exists) {
            Expect(writer_.Run("copytruncate " + path_), "copytruncate");
            file_.CopyTruncate();
        } else if (roll < 82 && exists) {
            Expect(writer_.Run("rotate " + path_), "rotate");
            file_.Rotate();
        } else if (roll < 87) {
            const std::string bytes = BytesOf(RandomUnits(1500));
            Expect(writer_.Run("replace u8 " + path_ + " " + EscapeBytes(bytes)), "replace");
            file_.ReplaceWith(bytes);
        } else if (roll < 91 && exists) {
            Expect(writer_.Run("delete " + path_), "delete");
            file_.Delete();
        } else if (roll < 97) {
            Expect(writer_.Run("create " + path_), "create");
            file_.CreateIfMissing();
        } else {
            history_.push_back("nothing");
        }
    }

    // Mostly just around the shrink tolerance below the read position.
    std::uint64_t CutSize() {
        static constexpr std::uint64_t kShrinks[] = {0, 1, 2, 1022, 1023, 1024, 1025, 1026, 4000};
        const std::uint64_t shrink =
            Pick(3) == 0 ? Pick(2500) : kShrinks[Pick(std::size(kShrinks))];
        const std::uint64_t from = reference_.ReadPosition();
        return std::min(file_.Size(), from - std::min(from, shrink));
    }

    void Compare(const std::string& when) {
        std::vector<std::u16string> shown;
        const core::CCrystalTextBuffer& buffer = doc_.Buffer();
        for (int i = 0; i < buffer.LineCount(); ++i) shown.emplace_back(buffer.LineText(i));
        const bool same = shown == reference_.Lines() &&
                          doc_.ReadPosition() == reference_.ReadPosition() &&
                          doc_.TextSize() == reference_.TextSize();
        if (same) return;
        std::string steps;
        for (const std::string& s : history_) steps += "  " + s + "\n";
        ADD_FAILURE() << setting_.name << ", seed " << seed_ << ", " << when << "\nlast steps:\n"
                      << steps << "read position " << doc_.ReadPosition() << ", expected "
                      << reference_.ReadPosition() << "\ntext size " << doc_.TextSize()
                      << ", expected " << reference_.TextSize() << "\nshown:\n"
                      << Visible(shown) << "expected:\n"
                      << Visible(reference_.Lines());
    }

    const PropertySetting& setting_;
    unsigned seed_;
    std::mt19937 random_;
    std::string path_;
    WriterProcess writer_;
    ModelFile file_;
    ReferenceDocument reference_;
    settings::Options options_;
    filters::CInExFilters filters_;
    core::DocContext context_{options_, filters_, platform::SystemClock::Instance()};
    core::CTarvikDoc doc_{context_};
    std::deque<std::string> history_;
};

class FollowProperty : public ::testing::TestWithParam<PropertySetting> {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "follow-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string folder_;
};

TEST_P(FollowProperty, DocumentShowsWhatTheModelPredicts) {
    const unsigned firstSeed = 1000 * static_cast<unsigned>(std::string(GetParam().name).size());
    for (unsigned seed = firstSeed; seed < firstSeed + kRunsPerSetting && !HasFailure(); ++seed) {
        const std::string folder = folder_ + "/run" + std::to_string(seed);
        std::filesystem::create_directory(folder);
        PropertyRun(GetParam(), seed, folder).Run();
    }
}

ReferenceSettings Settings(bool limit, std::uint32_t maxBufSiz, int retain,
                           std::u16string include = {}, std::u16string exclude = {}) {
    return {limit, maxBufSiz, retain, std::move(include), std::move(exclude)};
}

INSTANTIATE_TEST_SUITE_P(
    Settings, FollowProperty,
    ::testing::Values(PropertySetting{"default limit", Settings(true, 20971520, 10)},
                      PropertySetting{"no limit", Settings(false, 1000, 10)},
                      PropertySetting{"small limit", Settings(true, 1200, 3)},
                      PropertySetting{"filters", Settings(true, 20971520, 10, u"ERR", u"xx")},
                      PropertySetting{"small limit and filters",
                                      Settings(true, 900, 2, u"ER", u"xa")}),
    [](const ::testing::TestParamInfo<PropertySetting>& info) {
        std::string name = info.param.name;
        for (char& c : name) {
            if (c == ' ') c = '_';
        }
        return name;
    });

}  // namespace
}  // namespace follow_test
