#include "tests/contract/RegistryContract.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "platform/RegistryAccess.h"
#include "tests/support/SubkeyNames.h"

namespace corvane::testing {

namespace {

int g_sandboxCounter = 0;
const RegHandle HKCU = RootHandle(RootKey::CurrentUser);
const RootKey CU = RootKey::CurrentUser;

std::vector<std::uint8_t> Bytes(const std::string& text, bool withNul = true) {
  std::vector<std::uint8_t> data(text.begin(), text.end());
  if (withNul) data.push_back(0);
  return data;
}

// Reads a value whole through the interface: type and data.
struct ReadBack {
  RegStatus status = -1;
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
};

ReadBack Read(IRegistry& registry, RootKey root, const std::string& path, const std::string& name) {
  ReadBack result;
  RegKey key;
  result.status = OpenRegKey(registry, RootHandle(root), path, reg::kKeyRead, key);
  if (result.status != reg::kSuccess) return result;
  std::uint32_t size = 0;
  result.status = registry.QueryValue(key.get(), name, &result.type, nullptr, &size);
  if (result.status != reg::kSuccess) return result;
  result.data.resize(size);
  result.status = registry.QueryValue(key.get(), name, &result.type, result.data.data(), &size);
  result.data.resize(size);
  return result;
}

}  // namespace

std::string ContractName(const ::testing::TestParamInfo<RegistryEnvironmentFactory>& info) {
  return info.param.name;
}

void DeleteTree(IRegistry& registry, RegHandle parent, const std::string& path) {
  {
    RegKey key;
    if (OpenRegKey(registry, parent, path, reg::kKeyAllAccess, key) != reg::kSuccess) {
      // Perhaps read-only; its children may still be removable.
      if (OpenRegKey(registry, parent, path, reg::kKeyRead, key) != reg::kSuccess) return;
    }
    for (const auto& child : SubkeyNames(registry, key.get())) DeleteTree(registry, key.get(), child);
  }
  (void)registry.DeleteKey(parent, path);
}

bool RegistryContract::LockKey(const std::string& path) {
  if (env_->MakeReadOnly(CU, path)) return true;
  EXPECT_TRUE(Is9x()) << "could not make " << path << " read-only";
  return false;
}

void RegistryContract::SetUp() {
  env_ = GetParam().make();
  sandbox_ = "Software\\CorvaneContract\\t" + std::to_string(++g_sandboxCounter);
  DeleteTree(registry(), HKCU, sandbox_);
}

void RegistryContract::TearDown() {
  DeleteTree(registry(), HKCU, sandbox_);
  env_.reset();
}

// --- The registry interface itself -------------------------------------

TEST_P(RegistryContract, KeysAreFoundWhateverTheirLetterCase) {
  RegKey created;
  ASSERT_EQ(CreateRegKey(registry(), HKCU, Path("Alpha\\Beta"), reg::kKeyAllAccess, created), 0);
  RegKey opened;
  EXPECT_EQ(OpenRegKey(registry(), HKCU, Path("ALPHA\\beta"), reg::kKeyRead, opened), 0);
  // Doubled and trailing backslashes are tolerated; a leading one is not.
  EXPECT_EQ(OpenRegKey(registry(), HKCU, sandbox() + "\\\\alpha\\BETA\\", reg::kKeyRead, opened), 0);
  EXPECT_EQ(OpenRegKey(registry(), HKCU, "\\" + Path("Alpha"), reg::kKeyRead, opened),
            reg::kBadPathname);
  // Creation forgives one leading backslash on 95/98/ME only.
  EXPECT_EQ(CreateRegKey(registry(), HKCU, "\\" + Path("Alpha"), reg::kKeyAllAccess, opened),
            Is9x() ? reg::kSuccess : reg::kBadPathname);
  EXPECT_EQ(OpenRegKey(registry(), HKCU, Path("Missing"), reg::kKeyRead, opened),
            reg::kFileNotFound);
}

TEST_P(RegistryContract, ValuesKeepTheirTypeAndNamesIgnoreCase) {
  RegKey key;
  ASSERT_EQ(CreateRegKey(registry(), HKCU, sandbox(), reg::kKeyAllAccess, key), 0);
  auto text = Bytes("hello");
  std::uint8_t dword[4] = {0xDC, 0x05, 0, 0};
  std::uint8_t binary[3] = {1, 0, 2};
  ASSERT_EQ(registry().SetValue(key.get(), "Text", reg::kTypeSz, text.data(), 6), 0);
  ASSERT_EQ(registry().SetValue(key.get(), "Number", reg::kTypeDword, dword, 4), 0);
  ASSERT_EQ(registry().SetValue(key.get(), "Blob", reg::kTypeBinary, binary, 3), 0);

  auto t = Read(registry(), CU, sandbox(), "TEXT");
  EXPECT_EQ(t.status, 0);
  EXPECT_EQ(t.type, reg::kTypeSz);
  EXPECT_EQ(t.data, text);
  auto n = Read(registry(), CU, sandbox(), "number");
  EXPECT_EQ(n.type, reg::kTypeDword);
  EXPECT_EQ(n.data, std::vector<std::uint8_t>(dword, dword + 4));
  auto b = Read(registry(), CU, sandbox(), "Blob");
  EXPECT_EQ(b.type, reg::kTypeBinary);
  EXPECT_EQ(b.data.size(), 3u);
  // Writing again under another spelling replaces the same value.
  ASSERT_EQ(registry().SetValue(key.get(), "NUMBER", reg::kTypeSz, text.data(), 6), 0);
  EXPECT_EQ(Read(registry(), CU, sandbox(), "Number").type, reg::kTypeSz);
}

TEST_P(RegistryContract, TheDefaultValueHasTheEmptyName) {
  RegKey key;
  ASSERT_EQ(CreateRegKey(registry(), HKCU, sandbox(), reg::kKeyAllAccess, key), 0);
  std::uint32_t size = 0;
  EXPECT_EQ(registry().QueryValue(key.get(), "", nullptr, nullptr, &size), reg::kFileNotFound);
  auto data = Bytes("def");
  ASSERT_EQ(registry().SetValue(key.get(), "", reg::kTypeSz, data.data(), 4), 0);
  EXPECT_EQ(Read(registry(), CU, sandbox(), "").data, data);
}

TEST_P(RegistryContract, QueriesReportSizesAndSmallBuffers) {
  RegKey key;
  ASSERT_EQ(CreateRegKey(registry(), HKCU, sandbox(), reg::kKeyAllAccess, key), 0);
  auto data = Bytes(std::string(255, 'x'));
  ASSERT_EQ(registry().SetValue(key.get(), "Long", reg::kTypeSz, data.data(), 256), 0);
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  EXPECT_EQ(registry().QueryValue(key.get(), "Long", &type, nullptr, &size), 0);
  EXPECT_EQ(size, 256u);
  std::uint8_t buffer[255];
  size = sizeof buffer;
  EXPECT_EQ(registry().QueryValue(key.get(), "Long", &type, buffer, &size), reg::kMoreData);
  EXPECT_EQ(size, 256u);
  size = sizeof buffer;
  EXPECT_EQ(registry().QueryValue(key.get(), "Absent", &type, buffer, &size), reg::kFileNotFound);
  // NT stores a text with the size it is given; 95/98/ME count the text
  // up to its NUL themselves.
  const std::uint8_t emptyText[1] = {0};
  ASSERT_EQ(registry().SetValue(key.get(), "Empty", reg::kTypeSz, emptyText, 0), 0);
  size = sizeof buffer;
  EXPECT_EQ(registry().QueryValue(key.get(), "Empty", &type, buffer, &size), 0);
  EXPECT_EQ(size, Is9x() ? 1u : 0u);
  ASSERT_EQ(registry().SetValue(key.get(), "Short", reg::kTypeSz, data.data(), 3), 0);
  size = sizeof buffer;
  EXPECT_EQ(registry().QueryValue(key.get(), "Short", &type, buffer, &size),
            Is9x() ? reg::kMoreData : reg::kSuccess);
  EXPECT_EQ(size, Is9x() ? 256u : 3u);
}

TEST_P(RegistryContract, SubkeysEnumerateInSortedOrderUntil259) {
  for (const char* name : {"b", "A", "0x", "C"}) {
    RegKey child;
    ASSERT_EQ(CreateRegKey(registry(), HKCU, Path(name), reg::kKeyAllAccess, child), 0);
  }
  RegKey key;
  ASSERT_EQ(OpenRegKey(registry(), HKCU, sandbox(), reg::kKeyRead, key), 0);
  EXPECT_EQ(SubkeyNames(registry(), key.get()), (std::vector<std::string>{"0x", "A", "b", "C"}));
  char name[8];
  std::uint32_t length = sizeof name;
  EXPECT_EQ(registry().EnumKey(key.get(), 4, name, &length), reg::kNoMoreItems);
  EXPECT_EQ(registry().EnumKey(key.get(), 400, name, &length), reg::kNoMoreItems);
}

TEST_P(RegistryContract, AnsiKeyPathsEndAt260Characters) {
  std::string base = Path("p");
  RegKey key;
  std::string fits = base + std::string(260 - base.size(), 'x');
  std::string over = base + std::string(261 - base.size(), 'y');
  EXPECT_EQ(CreateRegKey(registry(), HKCU, fits, reg::kKeyAllAccess, key), 0);
  EXPECT_EQ(CreateRegKey(registry(), HKCU, over, reg::kKeyAllAccess, key), reg::kMoreData);
  EXPECT_EQ(OpenRegKey(registry(), HKCU, over, reg::kKeyRead, key), reg::kMoreData);
}

TEST_P(RegistryContract, LongSubkeyNamesDoNotFitA255CharacterBuffer) {
  RegKey key;
  ASSERT_EQ(CreateRegKey(registry(), HKCU, sandbox(), reg::kKeyAllAccess, key), 0);
  for (std::size_t n : {254u, 255u, 256u}) {
    RegKey child;
    ASSERT_EQ(CreateRegKey(registry(), key.get(), std::string(n, static_cast<char>('a' + n - 254)),
                           reg::kKeyAllAccess, child),
              0)
        << n;
  }
  char buffer[255];
  std::vector<RegStatus> results;
  std::vector<std::uint32_t> lengths;
  for (std::uint32_t i = 0; i < 4; ++i) {
    std::memset(buffer, ' ', sizeof buffer);
    std::uint32_t length = sizeof buffer;
    results.push_back(registry().EnumKey(key.get(), i, buffer, &length));
    lengths.push_back(length);
    if (results.back() == reg::kMoreData) {
      EXPECT_EQ(buffer[0], ' ') << "buffer written on 234";
    }
  }
  EXPECT_EQ(results, (std::vector<RegStatus>{0, reg::kMoreData, reg::kMoreData, reg::kNoMoreItems}));
  EXPECT_EQ(lengths[0], 254u);
}

TEST_P(RegistryContract, KeysWithSubkeysAreKeptOnNtAndTakenWholeOn9x) {
  RegKey child;
  ASSERT_EQ(CreateRegKey(registry(), HKCU, Path("Parent\\Child"), reg::kKeyAllAccess, child), 0);
  child.reset();
  RegKey parent;
  ASSERT_EQ(OpenRegKey(registry(), HKCU, sandbox(), reg::kKeyAllAccess, parent), 0);
  if (Is9x()) {
    EXPECT_EQ(registry().DeleteKey(parent.get(), "Parent"), 0);
    EXPECT_EQ(OpenRegKey(registry(), HKCU, Path("Parent\\Child"), reg::kKeyRead, child),
              reg::kFileNotFound);
  } else {
    EXPECT_EQ(registry().DeleteKey(parent.get(), "Parent"), reg::kAccessDenied);
    EXPECT_EQ(registry().DeleteKey(parent.get(), "Parent\\Child"), 0);
    EXPECT_EQ(registry().DeleteKey(parent.get(), "Parent"), 0);
  }
  EXPECT_EQ(registry().DeleteKey(parent.get(), "Parent"), reg::kFileNotFound);
  EXPECT_EQ(registry().DeleteValue(parent.get(), "Nothing"), reg::kFileNotFound);
}

TEST_P(RegistryContract, AReadOnlyKeyIsReadButNotChanged) {
  RegKey key;
  ASSERT_EQ(CreateRegKey(registry(), HKCU, Path("Locked"), reg::kKeyAllAccess, key), 0);
  auto data = Bytes("stored");
  ASSERT_EQ(registry().SetValue(key.get(), "Value", reg::kTypeSz, data.data(), 7), 0);
  key.reset();
  if (!LockKey(Path("Locked"))) GTEST_SKIP() << "the 95/98/ME registry has no security";

  RegKey opened;
  EXPECT_EQ(OpenRegKey(registry(), HKCU, Path("Locked"), reg::kKeyAllAccess, opened),
            reg::kAccessDenied);
  EXPECT_EQ(CreateRegKey(registry(), HKCU, Path("Locked"), reg::kSetRegValueAccess, opened),
            reg::kAccessDenied);
  ASSERT_EQ(OpenRegKey(registry(), HKCU, Path("Locked"), reg::kKeyRead, opened), 0);
  EXPECT_EQ(Read(registry(), CU, Path("Locked"), "Value").data, data);
  EXPECT_EQ(registry().SetValue(opened.get(), "Other", reg::kTypeSz, data.data(), 7),
            reg::kAccessDenied);
  EXPECT_EQ(registry().DeleteValue(opened.get(), "Value"), reg::kAccessDenied);
}

// --- The program's registry helpers over it ----------------------------

TEST_P(RegistryContract, SetRegValueEncodesTextAndNumbers) {
  EXPECT_EQ(SetRegValue(registry(), CU, sandbox(), "Text", reg::kTypeSz, 536, false), 0);
  auto text = Read(registry(), CU, sandbox(), "Text");
  EXPECT_EQ(text.type, reg::kTypeSz);
  EXPECT_EQ(text.data, (std::vector<std::uint8_t>{'5', '3', '6', 0}));

  EXPECT_EQ(SetRegValue(registry(), CU, sandbox(), "Number", reg::kTypeDword, -1, false), 0);
  auto number = Read(registry(), CU, sandbox(), "Number");
  EXPECT_EQ(number.type, reg::kTypeDword);
  EXPECT_EQ(number.data, (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));

  EXPECT_EQ(SetRegValue(registry(), CU, sandbox(), "Number", reg::kTypeDword, 0, true), 0);
  EXPECT_EQ(Read(registry(), CU, sandbox(), "Number").status, reg::kFileNotFound);
  // Other types are not written at all.
  EXPECT_EQ(SetRegValue(registry(), CU, sandbox(), "Bin", reg::kTypeBinary, 1, false), 0);
  EXPECT_EQ(Read(registry(), CU, sandbox(), "Bin").status, reg::kFileNotFound);
}

TEST_P(RegistryContract, SetRegValueRemovalCreatesTheKeyAndReturns2) {
  EXPECT_EQ(SetRegValue(registry(), CU, Path("New\\Key"), "Gone", reg::kTypeDword, 0, true),
            reg::kFileNotFound);
  RegKey key;
  EXPECT_EQ(OpenRegKey(registry(), HKCU, Path("New\\Key"), reg::kKeyRead, key), 0);
}

TEST_P(RegistryContract, SetRegValueOnAReadOnlyKeyReturnsTheRefusal) {
  ASSERT_EQ(SetRegValue(registry(), CU, Path("Locked"), "V", reg::kTypeSz, 1, false), 0);
  if (!LockKey(Path("Locked"))) GTEST_SKIP() << "the 95/98/ME registry has no security";
  EXPECT_EQ(SetRegValue(registry(), CU, Path("Locked"), "V", reg::kTypeSz, 2, false),
            reg::kAccessDenied);
  EXPECT_EQ(ReadRegString(registry(), CU, Path("Locked"), "V", "x"), "1");
}

TEST_P(RegistryContract, ReadRegStringTakesTextsOfAnyLengthTheWriterStores) {
  for (std::size_t length : {254u, 255u, 1000u}) {
    std::string text(length, 'a');
    text.back() = 'z';
    EXPECT_EQ(WriteRegString(registry(), CU, sandbox(), "Long", text), reg::kSuccess);
    EXPECT_EQ(ReadRegString(registry(), CU, sandbox(), "Long", "default"), text) << length;
  }
  EXPECT_EQ(ReadRegString(registry(), CU, sandbox(), "Missing", "default"), "default");
  EXPECT_EQ(ReadRegString(registry(), CU, Path("NoKey"), "Missing", "7"), "7");
  EXPECT_EQ(WriteRegString(registry(), CU, sandbox(), "Empty", ""), reg::kSuccess);
  EXPECT_EQ(ReadRegString(registry(), CU, sandbox(), "Empty", "default"), "");
  // The type is not looked at: a DWORD reads as its first three bytes.
  EXPECT_EQ(SetRegValue(registry(), CU, sandbox(), "Dword", reg::kTypeDword, 0x00636261, false), reg::kSuccess);
  EXPECT_EQ(ReadRegString(registry(), CU, sandbox(), "Dword", "default"), "abc");
}

TEST_P(RegistryContract, AppSettingsRoundTripUnderTheProgramsKey) {
  std::string section = std::string(kAppSettingsRoot) + "\\Settings\\ContractTest";
  EXPECT_EQ(SaveAppSetting(registry(), section, "Interval", "60"), reg::kSuccess);
  EXPECT_EQ(SaveAppSetting(registry(), section, "Blank", ""), reg::kSuccess);
  EXPECT_EQ(SaveAppSetting(registry(), section, "Number", 5), reg::kSuccess);
  EXPECT_EQ(GetAppSetting(registry(), section, "Interval", "0"), "60");
  EXPECT_EQ(GetAppSetting(registry(), section, "Blank", "0"), "");
  EXPECT_EQ(GetAppSetting(registry(), section, "Number", "0"), "5");
  EXPECT_EQ(GetAppSetting(registry(), section, "Missing", "0"), "0");
  DeleteTree(registry(), RootHandle(RootKey::LocalMachine), section);
}

TEST_P(RegistryContract, CRegisterReadsTextWithDefaults) {
  CRegister r(registry());
  EXPECT_TRUE(r.REGSaveSetting(CU, "\\" + sandbox() + "\\Sec\\", "Name", "value"));
  EXPECT_EQ(r.REGGetSetting(CU, Path("Sec"), "Name", "dflt"), "value");
  EXPECT_EQ(r.REGGetSetting(CU, "\\" + Path("Sec") + "\\", "Name", "dflt"), "value");
  EXPECT_EQ(r.REGGetSetting(CU, Path("Sec"), "Missing", "dflt"), "dflt");
  EXPECT_EQ(r.REGGetSetting(CU, Path("NoSuch"), "Name", "dflt"), "dflt");
  // "*" is the key's default value.
  EXPECT_TRUE(r.REGSaveSetting(CU, Path("Sec"), "*", "unnamed"));
  EXPECT_EQ(ReadRegString(registry(), CU, Path("Sec"), "", "x"), "unnamed");
  EXPECT_EQ(r.REGGetSetting(CU, Path("Sec"), "*"), "unnamed");
}

TEST_P(RegistryContract, CRegisterReadsAKeyThatMayOnlyBeRead) {
  CRegister r(registry());
  ASSERT_TRUE(r.REGSaveSetting(CU, Path("Locked"), "Name", "kept"));
  EXPECT_EQ(SetRegValue(registry(), CU, Path("Locked"), "Dword", reg::kTypeDword, 1500, false), reg::kSuccess);
  if (!LockKey(Path("Locked"))) GTEST_SKIP() << "the 95/98/ME registry has no security";
  EXPECT_EQ(r.REGGetSetting(CU, Path("Locked"), "Name", "dflt"), "kept");
  EXPECT_EQ(r.myREGGetSetting(CU, Path("Locked"), "Dword"), 1500.0);
  EXPECT_FALSE(r.REGSaveSetting(CU, Path("Locked"), "Name", "changed"));
  EXPECT_FALSE(r.REGDeleteSetting(CU, Path("Locked"), "Name"));
  EXPECT_EQ(r.REGGetSetting(CU, Path("Locked"), "Name", "dflt"), "kept");
}

TEST_P(RegistryContract, MyRegGetSettingReadsUnsignedLittleEndian) {
  CRegister r(registry());
  EXPECT_EQ(SetRegValue(registry(), CU, sandbox(), "Small", reg::kTypeDword, 1500, false), reg::kSuccess);
  EXPECT_EQ(SetRegValue(registry(), CU, sandbox(), "AllBits", reg::kTypeDword, -1, false), reg::kSuccess);
  EXPECT_EQ(SetRegValue(registry(), CU, sandbox(), "Text", reg::kTypeSz, "A", false), reg::kSuccess);  // 'A', NUL
  EXPECT_EQ(r.myREGGetSetting(CU, sandbox(), "Small"), 1500.0);
  EXPECT_EQ(r.myREGGetSetting(CU, sandbox(), "AllBits"), 4294967295.0);
  EXPECT_EQ(r.myREGGetSetting(CU, sandbox(), "Text"), 65.0);
  EXPECT_EQ(r.myREGGetSetting(CU, sandbox(), "Missing"), 0.0);
  EXPECT_EQ(r.myREGGetSetting(CU, Path("NoKey"), "Small"), 0.0);
}

// Long data: the sum grows past every double from the 129th byte on, but
// never turns into no number at all; ReadData hands over type and bytes for
// callers that need them exactly.
TEST_P(RegistryContract, LongDataIsReadWhole) {
  CRegister r(registry());
  RegKey key;
  ASSERT_EQ(CreateRegKey(registry(), HKCU, sandbox(), reg::kKeyAllAccess, key), 0);
  const std::vector<std::uint8_t> eight = {8, 7, 6, 5, 4, 3, 2, 1};
  const std::vector<std::uint8_t> allBits(262, 0xFF);
  const std::vector<std::uint8_t> highOnly = [] {
    std::vector<std::uint8_t> v(300, 0);
    v.back() = 1;
    return v;
  }();
  ASSERT_EQ(registry().SetValue(key.get(), "Eight", reg::kTypeBinary, eight.data(), 8), 0);
  ASSERT_EQ(registry().SetValue(key.get(), "Long", reg::kTypeBinary, allBits.data(), 262), 0);
  ASSERT_EQ(registry().SetValue(key.get(), "High", reg::kTypeBinary, highOnly.data(), 300), 0);
  EXPECT_EQ(r.myREGGetSetting(CU, sandbox(), "Eight"), 72623859790382856.0);
  EXPECT_EQ(r.myREGGetSetting(CU, sandbox(), "Long"), HUGE_VAL);
  EXPECT_EQ(r.myREGGetSetting(CU, sandbox(), "High"), HUGE_VAL);

  auto data = r.ReadData(CU, sandbox(), "Long");
  ASSERT_TRUE(data);
  EXPECT_EQ(data->type, reg::kTypeBinary);
  EXPECT_EQ(data->bytes, allBits);
  EXPECT_EQ(SetRegValue(registry(), CU, sandbox(), "Dword", reg::kTypeDword, 128, false), reg::kSuccess);
  data = r.ReadData(CU, sandbox(), "Dword");
  ASSERT_TRUE(data);
  EXPECT_EQ(data->type, reg::kTypeDword);
  EXPECT_EQ(data->bytes, (std::vector<std::uint8_t>{128, 0, 0, 0}));
  EXPECT_EQ(SetRegValue(registry(), CU, sandbox(), "Text", reg::kTypeSz, "49", false), reg::kSuccess);
  data = r.ReadData(CU, sandbox(), "Text");
  ASSERT_TRUE(data);
  EXPECT_EQ(data->type, reg::kTypeSz);
  EXPECT_EQ(data->bytes, (std::vector<std::uint8_t>{'4', '9', 0}));
  EXPECT_FALSE(r.ReadData(CU, sandbox(), "Missing"));
  EXPECT_FALSE(r.ReadData(CU, Path("NoKey"), "Dword"));
}

TEST_P(RegistryContract, CRegisterDeletesValuesAndKeys) {
  CRegister r(registry());
  ASSERT_TRUE(r.REGSaveSetting(CU, Path("Sec"), "Name", "v"));
  EXPECT_TRUE(r.REGDeleteSetting(CU, Path("Sec"), "Name"));
  EXPECT_FALSE(r.REGDeleteSetting(CU, Path("Sec"), "Name"));
  EXPECT_FALSE(r.REGDeleteSetting(CU, Path("NoSuch"), "Name"));
  // With no value name the section itself goes: on NT only when it has no
  // subkeys, on 95/98/ME with them.
  ASSERT_TRUE(r.REGSaveSetting(CU, Path("Sec\\Sub"), "Name", "v"));
  if (Is9x()) {
    EXPECT_TRUE(r.REGDeleteSetting(CU, Path("Sec"), ""));
  } else {
    EXPECT_FALSE(r.REGDeleteSetting(CU, Path("Sec"), ""));
    EXPECT_TRUE(r.REGDeleteSetting(CU, Path("Sec\\Sub"), ""));
    EXPECT_TRUE(r.REGDeleteSetting(CU, Path("Sec"), ""));
  }
  RegKey key;
  EXPECT_EQ(OpenRegKey(registry(), HKCU, Path("Sec"), reg::kKeyRead, key), reg::kFileNotFound);
}

TEST_P(RegistryContract, GetAllKeysListsDirectSubkeys) {
  CRegister r(registry());
  ASSERT_TRUE(r.REGSaveSetting(CU, Path("Empty"), "x", "1"));
  EXPECT_TRUE(r.GetAllKeys(CU, Path("Empty")).empty());
  EXPECT_TRUE(r.GetAllKeys(CU, Path("Missing")).empty());
  for (const char* name : {"Second", "First", "Third\\Deep"}) {
    ASSERT_TRUE(r.REGSaveSetting(CU, Path(std::string("List\\") + name), "x", "1"));
  }
  EXPECT_EQ(r.GetAllKeys(CU, Path("List")), (std::vector<std::string>{"First", "Second", "Third"}));
  // A name that does not fit the 255-character buffer ends the list there.
  RegKey list;
  ASSERT_EQ(OpenRegKey(registry(), HKCU, Path("List"), reg::kKeyAllAccess, list), 0);
  RegKey tooLong;
  ASSERT_EQ(CreateRegKey(registry(), list.get(), "S" + std::string(255, 'z'), reg::kKeyAllAccess,
                         tooLong),
            0);
  EXPECT_EQ(r.GetAllKeys(CU, Path("List")), (std::vector<std::string>{"First", "Second"}));
}

}  // namespace corvane::testing
