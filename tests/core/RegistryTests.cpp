#include <gtest/gtest.h>

#include <vector>

#include "registry/Registry.h"
#include "support/TestEnvironment.h"

namespace {

constexpr const char* Scratch = "Software\\JukeletTests\\Registry";

class RegistryContract : public ::testing::Test {
protected:
    const PlantedKey scratch_{HKEY_CURRENT_USER, "Software\\JukeletTests"};

    // Writes raw bytes with a type, straight through the API, bypassing the code under test.
    static void WriteRaw(const char* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, Scratch, &key), ERROR_SUCCESS);
        RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }

    static std::vector<char> ReadRaw(const char* name, DWORD* type) {
        HKEY key = nullptr;
        std::vector<char> data(70000);
        DWORD size = static_cast<DWORD>(data.size());
        if (RegOpenKeyA(HKEY_CURRENT_USER, Scratch, &key) != ERROR_SUCCESS) return {};
        LONG status = RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<BYTE*>(data.data()), &size);
        RegCloseKey(key);
        if (status != ERROR_SUCCESS) return {};
        data.resize(size);
        return data;
    }
};

TEST_F(RegistryContract, MissingKeysAndValuesGiveTheDefault) {
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, Scratch, "Nothing", "<EMPTY>"), "<EMPTY>");
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, Scratch, "Nothing"), "");
    ASSERT_TRUE(CreateKey(HKEY_CURRENT_USER, Scratch));
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, Scratch, "Nothing", "<EMPTY>"), "<EMPTY>");
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, Scratch, "", "<EMPTY>"), "<EMPTY>");
}

TEST_F(RegistryContract, StoredTextReadsBackUpToItsFirstNul) {
    WriteRaw("Zero", REG_SZ, "", 0);
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, Scratch, "Zero", "<EMPTY>"), "");

    WriteRaw("Embedded", REG_SZ, "abc\0def", 8);
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, Scratch, "Embedded", "<EMPTY>"), "abc");

    const char noTerminator[] = {'a', 'b', 'c', 'X'};  // the byte after the data is not a NUL
    WriteRaw("Unterminated", REG_SZ, noTerminator, 3);
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, Scratch, "Unterminated", "<EMPTY>"), "abc");

    WriteRaw("", REG_SZ, "default value", 14);
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, Scratch, "", "<EMPTY>"), "default value");
}

TEST_F(RegistryContract, OtherValueTypesGiveTheDefault) {
    WriteRaw("Expand", REG_EXPAND_SZ, "%TEMP%\\x", 9);
    const DWORD number = 7;
    WriteRaw("Number", REG_DWORD, &number, sizeof(number));
    WriteRaw("Binary", REG_BINARY, "abc", 3);
    for (const char* name : {"Expand", "Number", "Binary"})
        EXPECT_EQ(GetString(HKEY_CURRENT_USER, Scratch, name, "<EMPTY>"), "<EMPTY>") << name;
}

TEST_F(RegistryContract, LongValuesReadWhole) {
    std::string longText(40000, 'w');
    longText += "\\winamp.exe";
    WriteRaw("Long", REG_SZ, longText.c_str(), static_cast<DWORD>(longText.size() + 1));
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, Scratch, "Long", "<EMPTY>"), longText);
    ASSERT_TRUE(SaveString(HKEY_CURRENT_USER, Scratch, "Long2", longText));
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, Scratch, "Long2"), longText);
}

TEST_F(RegistryContract, SaveStringWritesTextWithoutCountingItsNul) {
    ASSERT_TRUE(SaveString(HKEY_CURRENT_USER, Scratch, "Flag", "Yes"));
    DWORD type = 0;
    std::vector<char> stored = ReadRaw("Flag", &type);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    ASSERT_GE(stored.size(), 3u);
    EXPECT_EQ(std::string(stored.data(), 3), "Yes");
    // The registry may add a NUL of its own, but never more than one.
    EXPECT_LE(stored.size(), 4u);

    ASSERT_TRUE(SaveString(HKEY_CURRENT_USER, Scratch, "Empty", ""));
    stored = ReadRaw("Empty", &type);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_LE(stored.size(), 1u);
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, Scratch, "Empty", "<EMPTY>"), "");
}

TEST_F(RegistryContract, MultiByteTextKeepsEveryByte) {
    // Four bytes that a double-byte code page reads as two characters.
    const std::string text = "\x82\xA0\x82\xA2";
    ASSERT_TRUE(SaveString(HKEY_CURRENT_USER, Scratch, "Bytes", text));
    DWORD type = 0;
    std::vector<char> stored = ReadRaw("Bytes", &type);
    ASSERT_GE(stored.size(), text.size());
    EXPECT_EQ(std::string(stored.data(), text.size()), text);
}

TEST_F(RegistryContract, SaveStringCreatesThePathAndReplacesOtherTypes) {
    const std::string deep = std::string(Scratch) + "\\A\\B\\C";
    ASSERT_TRUE(SaveString(HKEY_CURRENT_USER, deep, "Value", "here"));
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, deep, "Value"), "here");

    const DWORD number = 1;
    WriteRaw("Typed", REG_DWORD, &number, sizeof(number));
    ASSERT_TRUE(SaveString(HKEY_CURRENT_USER, Scratch, "Typed", "text"));
    DWORD type = 0;
    ReadRaw("Typed", &type);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, Scratch, "Typed"), "text");
}

TEST_F(RegistryContract, CreateAndDeleteAreIdempotent) {
    ASSERT_TRUE(SaveString(HKEY_CURRENT_USER, Scratch, "Keep", "me"));
    EXPECT_TRUE(CreateKey(HKEY_CURRENT_USER, Scratch));
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, Scratch, "Keep"), "me");
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Scratch));

    // Its subkeys go with it, values and all, as 9x's plain delete would take them and NT's
    // would refuse to.
    ASSERT_TRUE(SaveString(HKEY_CURRENT_USER, std::string(Scratch) + "\\Child\\Grandchild", "Deep", "too"));
    EXPECT_TRUE(DeleteKeyTree(HKEY_CURRENT_USER, Scratch));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Scratch));
    EXPECT_TRUE(DeleteKeyTree(HKEY_CURRENT_USER, Scratch));  // already gone: nothing to report
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Scratch));
}

TEST_F(RegistryContract, FailuresAreReported) {
    // A handle that is no key can be neither written nor deleted from.
    const HKEY noKey = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x12345678));
    EXPECT_FALSE(SaveString(noKey, Scratch, "v", "x"));
    EXPECT_FALSE(DeleteKeyTree(noKey, Scratch));
}

}  // namespace
