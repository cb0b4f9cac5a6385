#include "mail/MailSettings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/Registry.h"
#include "settings/TempRegistry.h"

namespace mail {
namespace {

using platform::RegKey;

class MailSettingsTest : public app_test::TempRegistryTest {
protected:
    RegKey EmailKey() { return app_test::CreateKey(kEmailSettingsKey); }
};

void ExpectDefaults(const MailSettings& settings) {
    EXPECT_FALSE(settings.requiresAuth);
    EXPECT_FALSE(settings.useSsl);
    EXPECT_FALSE(settings.sslNoVerify);
    EXPECT_EQ(settings.smtpPort, 25u);
    EXPECT_TRUE(settings.mailFrom.empty() && settings.smtpServer.empty());
    EXPECT_TRUE(settings.accountName.empty() && settings.password.empty());
    EXPECT_EQ(settings.highlightSubject, u"Highlight Phrase Occurs Notification");
    EXPECT_EQ(settings.highlightBody, kDefaultHighlightBody);
    EXPECT_EQ(settings.stopSubject, u"File Stops Updating Notification");
    EXPECT_EQ(settings.stopBody, kDefaultStopBody);
}

TEST_F(MailSettingsTest, MissingKeyGivesTheDefaults) {
    ExpectDefaults(LoadMailSettings());
    MailSettings edited;
    edited.smtpServer = u"left over";
    LoadMailSettings(edited);
    ExpectDefaults(edited);
}

TEST_F(MailSettingsTest, PortsOutsideTheValidRangeLoadAs25) {
    const std::vector<std::pair<std::uint32_t, std::uint32_t>> cases = {
        {0, 25}, {70000, 25}, {0xFFFFFFFF, 25}, {0x80000000, 25},
        {1, 1},  {465, 465},  {65535, 65535},   {65536, 25}};
    for (const auto& [stored, loaded] : cases) {
        EmailKey().SetDWORD(u"SmtpPort", stored);
        EXPECT_EQ(LoadMailSettings().smtpPort, loaded) << "stored " << stored;
    }
    EmailKey().SetString(u"SmtpPort", u"5");
    EXPECT_EQ(LoadMailSettings().smtpPort, 25u) << "a text is not a port";
}

TEST_F(MailSettingsTest, EmptyStoredTemplatesStandForTheirDefaults) {
    RegKey key = EmailKey();
    key.SetString(u"EmlTempSubject", u"");
    key.SetString(u"EmlTempBody", u"");
    key.SetString(u"SUNEmlTempSubject", u"Quiet: %f");
    key.SetString(u"SUNEmlTempBody", u"");
    key.SetString(u"MailFrom", u"");
    const MailSettings settings = LoadMailSettings();
    EXPECT_EQ(settings.highlightSubject, kDefaultHighlightSubject);
    EXPECT_EQ(settings.highlightBody, kDefaultHighlightBody);
    EXPECT_EQ(settings.stopSubject, u"Quiet: %f");
    EXPECT_EQ(settings.stopBody, kDefaultStopBody);
    EXPECT_TRUE(settings.mailFrom.empty()) << "other texts stay empty";
}

TEST_F(MailSettingsTest, FlagsAreAnyNonZeroNumberAndIgnoreTexts) {
    RegKey key = EmailKey();
    key.SetDWORD(u"SrvReqAuth", 7);
    key.SetString(u"SrvReqSsl", u"1");
    key.SetDWORD(u"SrvSslNoVerify", 1);
    const MailSettings settings = LoadMailSettings();
    EXPECT_TRUE(settings.requiresAuth);
    EXPECT_FALSE(settings.useSsl);
    EXPECT_TRUE(settings.sslNoVerify);
}

TEST_F(MailSettingsTest, SavedSettingsLoadBackAsTheyWere) {
    MailSettings saved;
    saved.requiresAuth = true;
    saved.useSsl = true;
    saved.sslNoVerify = true;
    saved.mailFrom = u"monitor@example.org";
    saved.smtpServer = u"smtp.example.org";
    saved.smtpPort = 465;
    saved.accountName = u"monitor";
    saved.password = u"p\u00e4ss word";
    saved.highlightSubject = u"Seen %h";
    saved.highlightBody = u"%n";
    saved.stopSubject = u"Quiet %f";
    saved.stopBody = u"%s seconds";
    SaveMailSettings(saved);

    const MailSettings loaded = LoadMailSettings();
    EXPECT_TRUE(loaded.requiresAuth && loaded.useSsl && loaded.sslNoVerify);
    EXPECT_EQ(loaded.mailFrom, saved.mailFrom);
    EXPECT_EQ(loaded.smtpServer, saved.smtpServer);
    EXPECT_EQ(loaded.smtpPort, 465u);
    EXPECT_EQ(loaded.accountName, saved.accountName);
    EXPECT_EQ(loaded.password, saved.password);
    EXPECT_EQ(loaded.highlightSubject, saved.highlightSubject);
    EXPECT_EQ(loaded.highlightBody, saved.highlightBody);
    EXPECT_EQ(loaded.stopSubject, saved.stopSubject);
    EXPECT_EQ(loaded.stopBody, saved.stopBody);

    // Texts carry their terminator in the byte count, flags are numbers.
    platform::DWORD type = 0;
    platform::DWORD size = 0;
    RegKey key = EmailKey();
    ASSERT_EQ(key.QueryValue(u"AuthPass", &type, nullptr, &size), platform::ERROR_SUCCESS);
    EXPECT_EQ(type, platform::REG_SZ);
    EXPECT_EQ(size, 2 * saved.password.size() + 2);
    ASSERT_EQ(key.QueryValue(u"SrvSslNoVerify", &type, nullptr, &size), platform::ERROR_SUCCESS);
    EXPECT_EQ(type, platform::REG_DWORD);
    EXPECT_EQ(app_test::ValueNames(kEmailSettingsKey).size(), 12u);
}

TEST_F(MailSettingsTest, CompletenessNeedsServerSenderAndAccountNameOnly) {
    MailSettings settings;
    settings.smtpServer = u"smtp.example.org";
    EXPECT_FALSE(AreMailSettingsComplete(settings));
    settings.mailFrom = u"monitor@example.org";
    settings.highlightSubject.clear();
    settings.highlightBody.clear();
    EXPECT_TRUE(AreMailSettingsComplete(settings)) << "templates are not looked at";
    settings.requiresAuth = true;
    EXPECT_FALSE(AreMailSettingsComplete(settings));
    settings.accountName = u"monitor";
    EXPECT_TRUE(AreMailSettingsComplete(settings)) << "an empty password is accepted";
}

TEST_F(MailSettingsTest, CompletenessReadsTheStoreUntilTheSettingsAreLoaded) {
    RegKey key = EmailKey();
    key.SetString(u"SmtpServer", u"smtp.example.org");
    key.SetString(u"MailFrom", u"monitor@example.org");
    std::optional<MailSettings> loaded;
    EXPECT_TRUE(AreMailSettingsComplete(loaded));
    EXPECT_FALSE(loaded.has_value()) << "the temporary copy is not kept";

    loaded = MailSettings{};
    EXPECT_FALSE(AreMailSettingsComplete(loaded)) << "loaded settings win over the store";
}

TEST_F(MailSettingsTest, EditedSettingsAreSavedAndReplaceOnlyLoadedOnes) {
    std::optional<MailSettings> loaded;
    MailSettings edited = MailSettingsForEditing(loaded);
    edited.smtpServer = u"relay.local";
    ApplyEditedMailSettings(loaded, edited);
    EXPECT_FALSE(loaded.has_value());
    EXPECT_EQ(LoadMailSettings().smtpServer, u"relay.local");

    loaded = LoadMailSettings();
    edited = MailSettingsForEditing(loaded);
    edited.smtpPort = 587;
    ApplyEditedMailSettings(loaded, edited);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->smtpPort, 587u);
    EXPECT_EQ(LoadMailSettings().smtpPort, 587u);
}

}  // namespace
}  // namespace mail
