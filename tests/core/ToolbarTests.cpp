#include <gtest/gtest.h>

#include <map>
#include <set>

#include "base/SharedState.h"
#include "base/UniqueHandle.h"
#include "registry/Registry.h"
#include "support/TestEnvironment.h"
#include "toolbar/ButtonCatalogue.h"
#include "toolbar/ToolbarButtons.h"

namespace {

const std::string OtherProgramKey(ButtonKeyPath(OtherProgramButtonId));

std::map<std::string, std::string> ValuesOf(HKEY root, const std::string& path) {
    std::map<std::string, std::string> values;
    HKEY opened = nullptr;
    if (RegOpenKeyA(root, path.c_str(), &opened) != ERROR_SUCCESS) return values;
    const RegKey key(opened);
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameLength = sizeof(name);
        char data[1024];
        DWORD dataSize = sizeof(data) - 1;
        DWORD type = 0;
        if (RegEnumValueA(key.get(), i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataSize) !=
            ERROR_SUCCESS)
            break;
        data[dataSize] = '\0';
        values[name] = type == REG_SZ ? std::string(data) : "<type " + std::to_string(type) + ">";
    }
    return values;
}

class ToolbarKeys : public ::testing::Test {
protected:
    void SetUp() override {
        LinksPath = "C:\\Apps\\Tools\\Links";
        IconsPath = "C:\\Apps\\Tools\\Icons";
        Clean();
        ASSERT_TRUE(otherProgram_.WriteString("ButtonText", "Someone else"));
    }
    void TearDown() override { Clean(); }
    static void Clean() {
        for (const ToolbarButton& button : ButtonCatalogue)
            for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
                DeleteRegistryTree(root, std::string(ButtonKeyPath(button.id)));
    }

    const PlantedKey otherProgram_{HKEY_CURRENT_USER, OtherProgramKey};
};

TEST_F(ToolbarKeys, EveryButtonGetsItsSixValues) {
    ASSERT_TRUE(AddAllButtons(HKEY_CURRENT_USER));
    const std::map<std::string, std::string> stop =
        ValuesOf(HKEY_CURRENT_USER, std::string(ButtonKeyPath("{3D5A6FA0-FF5F-11D4-B08F-909356C10100}")));
    EXPECT_EQ(stop, (std::map<std::string, std::string>{
                        {"CLSID", "{1FBA04EE-3024-11D2-8F1F-0000F87ABD16}"},
                        {"Default Visible", "Yes"},
                        {"ButtonText", "Stop"},
                        {"Exec", "C:\\Apps\\Tools\\Links\\stop.lnk"},
                        {"Icon", "C:\\Apps\\Tools\\Icons\\stop_default.ico"},
                        {"HotIcon", "C:\\Apps\\Tools\\Icons\\stop_hot.ico"},
                    }));
    const std::map<std::string, std::string> minMax =
        ValuesOf(HKEY_CURRENT_USER, std::string(ButtonKeyPath("{86227B80-FF8F-11D4-B08F-90A456C10100}")));
    EXPECT_EQ(minMax.at("ButtonText"), "Minimize/Restore Winamp");
    EXPECT_EQ(minMax.at("Exec"), "C:\\Apps\\Tools\\Links\\minmax.lnk");
    EXPECT_EQ(minMax.at("Icon"), "C:\\Apps\\Tools\\Icons\\minimize_default.ico");
    EXPECT_EQ(minMax.at("HotIcon"), "C:\\Apps\\Tools\\Icons\\minimize_hot.ico");

    std::set<std::string> captions;
    for (const ToolbarButton& button : ButtonCatalogue) {
        auto values = ValuesOf(HKEY_CURRENT_USER, std::string(ButtonKeyPath(button.id)));
        EXPECT_EQ(values.size(), 6u) << button.id;
        EXPECT_EQ(values["Exec"], std::string(LinksPath) + button.link);
        captions.insert(values["ButtonText"]);
    }
    EXPECT_EQ(captions.size(), 7u);
    EXPECT_FALSE(AnyButtonInstalled(HKEY_LOCAL_MACHINE));
}

TEST_F(ToolbarKeys, AddingTwiceLeavesTheSameKeysAndForeignValuesAlone) {
    ASSERT_TRUE(AddAllButtons(HKEY_CURRENT_USER));
    const std::string play(ButtonKeyPath("{34F16BC0-FF5F-11D4-B08F-909356C10100}"));
    ASSERT_TRUE(SaveString(HKEY_CURRENT_USER, play, "MenuText", "kept"));
    auto before = ValuesOf(HKEY_CURRENT_USER, play);
    ASSERT_TRUE(AddAllButtons(HKEY_CURRENT_USER));
    EXPECT_EQ(ValuesOf(HKEY_CURRENT_USER, play), before);
    EXPECT_EQ(before.at("MenuText"), "kept");
}

TEST_F(ToolbarKeys, BothRootsAreIndependentAndOneRemovalClearsEach) {
    ASSERT_TRUE(AddAllButtons(HKEY_CURRENT_USER));
    if (!AddAllButtons(HKEY_LOCAL_MACHINE)) GTEST_SKIP() << "no right to write the machine's keys";
    EXPECT_TRUE(AnyButtonInstalled(HKEY_LOCAL_MACHINE));

    EXPECT_TRUE(RemoveAllButtons(HKEY_LOCAL_MACHINE));
    EXPECT_FALSE(AnyButtonInstalled(HKEY_LOCAL_MACHINE));
    EXPECT_TRUE(AnyButtonInstalled(HKEY_CURRENT_USER));

    EXPECT_TRUE(RemoveAllButtons(HKEY_CURRENT_USER));
    EXPECT_FALSE(AnyButtonInstalled(HKEY_CURRENT_USER));
    // Removing again when nothing is there is no failure.
    EXPECT_TRUE(RemoveAllButtons(HKEY_CURRENT_USER));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, OtherProgramKey));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, ExtensionsKey));
}

TEST_F(ToolbarKeys, IdentifiersOutsideTheCatalogueTouchNothing) {
    for (const std::string& stranger :
         {std::string(""), std::string(OtherProgramButtonId), std::string("{3d5a6fa0-ff5f-11d4-b08f-909356c10100}")}) {
        EXPECT_FALSE(AddButton(HKEY_CURRENT_USER, stranger));
        EXPECT_FALSE(RemoveButton(HKEY_CURRENT_USER, stranger));
    }
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, OtherProgramKey));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, ExtensionsKey));
    EXPECT_FALSE(AnyButtonInstalled(HKEY_CURRENT_USER));
}

TEST_F(ToolbarKeys, AFailedWriteIsReported) {
    // A root handle that is no open key: every write fails, and AddButton says so.
    HKEY bogus = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x12345678));
    EXPECT_FALSE(AddButton(bogus, ButtonCatalogue[0].id));
    EXPECT_FALSE(AddAllButtons(bogus));
}

}  // namespace
