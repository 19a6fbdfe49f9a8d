// Per-object appearance from the settings: every key applied from a
// section and written back the same, invalid values skipped key by key,
// and nothing saved without a name.
#include "toolkit/core/object_config.h"

#include "bmp_writer.h"
#include "test_form.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/settings.h"

#include <fstream>
#include <sstream>

using namespace testform;

namespace {

// A leaf that keeps its text, as labels do.
struct TextRecord {
    char text[64];
};

int TextHandler(WkObject* object, WkMessage* message) {
    auto* r = static_cast<TextRecord*>(object->classRecord);
    if (message->type == WK_MSG_SET_TEXT) {
        std::snprintf(r->text, sizeof r->text, "%s", reinterpret_cast<const char*>(message->window));
        return 1;
    }
    if (message->type == WK_MSG_GET_TEXT) {
        WkMessageReturnText(message, r->text);
        return 1;
    }
    return 0;
}

class ConfigTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        dir = std::string(TM_TEST_OUTPUT_DIR) + "/";
        form = MakeForm(nullptr);
        SetColor(form, 200, 100, 50);
        WkObject base = WkBaseTemplate(WK_CLASS_LABEL);
        base.handler = TextHandler;
        TextRecord record{};
        object = WkNewObject(base, &record, sizeof record);
        WkInheritColors(form, object);
        AddChild(form, object);
    }
    void TearDown() override {
        WkSetSettingsFiles(nullptr, nullptr);
        WkObjectDestroy(form);
        ToolkitTest::TearDown();
    }
    std::string Write(const std::string& name, const std::string& text) {
        std::ofstream(dir + name, std::ios::binary) << text;
        return dir + name;
    }
    std::string dir;
    WkObject* form = nullptr;
    WkObject* object = nullptr;
};

const char* const kKeys[] = {"font", "foreground", "background", "shadow", "text", "bgImage", "transparency"};

TEST_F(ConfigTest, ASectionAppliedAndSavedGivesTheSameKeys) {
    BmpSpec s;
    s.width = 2;
    s.height = 2;
    s.palette = {0x112233, 0x445566};
    s.pixels = {0, 1, 0, 0, 1, 0, 0, 0};
    std::string image = WriteBmp("config_bg.bmp", s);
    std::string section = "[Clock]\r\nfont=HELV_SMALL\r\nforeground=1,2,3\r\nbackground=FromParent,80\r\n"
                          "shadow=ETCHED_IN,2,1\r\ntext=Ready\r\nbgImage=" +
                          image + ";CENTERED\r\ntransparency=0\r\n";
    std::string in = Write("config_in.ini", section);
    WkSetSettingsFiles(in.c_str(), nullptr);
    WkObjectConfigure(object, "Clock", 0x7F);
    EXPECT_EQ(WkObjectGetConfigMask(object), 0x7Fu);
    EXPECT_STREQ(WkObjectGetName(object), "Clock");
    EXPECT_EQ(WkObjectGetFont(object), 4);
    EXPECT_EQ(Rgb(WkObjectGetForegroundColor(object)), plat::MakeRgb(1, 2, 3));
    int percent = 0;
    EXPECT_TRUE(WkObjectInheritsBackground(object, &percent));
    EXPECT_EQ(percent, 80);
    EXPECT_EQ(WkObjectGetTransparency(object), 0); // a partly transparent object drops its own image
    int type, width, outer;
    WkObjectGetShadow(object, &type, &width, &outer);
    EXPECT_EQ(type * 100 + width * 10 + outer, 321);
    EXPECT_EQ(WkObjectGetBackgroundImageMode(object), WK_IMAGE_CENTERED);
    char text[16];
    EXPECT_STREQ(WkObjectGetText(object, text, sizeof text), "Ready");

    std::string out = Write("config_out.ini", "");
    WkSetSettingsFiles(out.c_str(), nullptr);
    WkObjectSaveConfig(object);
    std::string saved[7];
    for (int i = 0; i < 7; ++i) {
        const char* v = WkReadSetting("Clock", kKeys[i]);
        ASSERT_NE(v, nullptr) << kKeys[i];
        saved[i] = v;
    }
    WkSetSettingsFiles(in.c_str(), nullptr);
    for (int i = 0; i < 7; ++i) EXPECT_STREQ(WkReadSetting("Clock", kKeys[i]), saved[i].c_str()) << kKeys[i];
}

TEST_F(ConfigTest, InvalidValuesAreSkippedKeyByKey) {
    std::string in = Write("config_bad.ini", "[Bad]\nforeground=1,2\nbackground=10,300,5\nshadow=SHADOW_IN,13,0\n"
                                             "font=NOSUCH\ntransparency=257\n"
                                             "[Word]\nforeground=FromParent\nbackground=fromparent,80\n"
                                             "shadow=NONE,5,5\n");
    WkSetSettingsFiles(in.c_str(), nullptr);
    WkObjectSetShadow(object, WK_SHADOW_OUT, 2, 0);
    WkColor fg = WkObjectGetForegroundColor(object), bg = WkObjectGetBackgroundColor(object);
    WkObjectConfigure(object, "Bad", 0x7F);
    EXPECT_EQ(WkObjectGetForegroundColor(object), fg);
    EXPECT_EQ(WkObjectGetBackgroundColor(object), bg);
    EXPECT_EQ(WkObjectGetFont(object), 0);
    EXPECT_EQ(WkObjectGetTransparency(object), 1); // taken modulo 256
    int type, width, outer;
    WkObjectGetShadow(object, &type, &width, &outer);
    EXPECT_EQ(type * 10 + width, 12);

    WkObjectSetForegroundRGB(object, 9, 9, 9);
    WkObjectConfigure(object, "Word", 0x0E);
    EXPECT_TRUE(WkObjectInheritsForeground(object));
    EXPECT_EQ(Rgb(WkObjectGetForegroundColor(object)), Rgb(form->foreground));
    int percent = 0;
    EXPECT_TRUE(WkObjectInheritsBackground(object, &percent));
    EXPECT_EQ(percent, 80);
    WkObjectGetShadow(object, &type, &width, &outer);
    EXPECT_EQ(type + width + outer, 0);
}

TEST_F(ConfigTest, ShownObjectsAreShownAgainAndUnnamedOnesNotSaved) {
    std::string out = Write("config_none.ini", "");
    WkSetSettingsFiles(out.c_str(), nullptr);
    object->state |= WK_STATE_SHOWN;
    WkObjectConfigure(object, "Shown", WK_CONFIG_SHADOW);
    EXPECT_TRUE(object->state & WK_STATE_SHOWN);
    object->configMask = WK_CONFIG_SHADOW;
    WkFree(object->name);
    object->name = nullptr;
    WkObjectSaveConfig(object);
    std::ifstream f(out, std::ios::binary);
    std::stringstream content;
    content << f.rdbuf();
    EXPECT_EQ(content.str(), "");
}

} // namespace
