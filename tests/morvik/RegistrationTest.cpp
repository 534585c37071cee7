// Self-registration through regsvr32, as the installer and users run it:
// the registry afterwards, registering twice, unregistering, a path with a
// quote, no categories manager.
#include "harness/Check.h"
#include "morvik/MorvikFixture.h"

#include <algorithm>

using namespace morviktest;

namespace {

const char kClsidKey[] = "CLSID\\{242D4259-593C-44F7-B3E2-BB711B1DC7D0}";
const char kTypeLibKey[] = "TypeLib\\{4BDEBD15-6343-47F1-99BA-C3F121C69220}";
const char kInterfaceKey[] = "Interface\\{0AAFB114-F8FE-47C6-B08D-01B1FDDF6A5A}";
const char kCategoriesManagerKey[] = "CLSID\\{0002E005-0000-0000-C000-000000000046}";

// The keys the registration owns, every one of them dumped.
std::vector<std::string> RegistrationState()
{
    std::vector<std::string> all;
    for (const char* key : {"Morvik.GetSerial.1", "Morvik.GetSerial", kClsidKey, kTypeLibKey, kInterfaceKey}) {
        std::vector<std::string> lines = DumpClassesKey(key);
        all.insert(all.end(), lines.begin(), lines.end());
    }
    return all;
}

std::vector<std::string> Expected(std::vector<std::string> lines)
{
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::string Join(const std::vector<std::string>& lines)
{
    std::string out;
    for (const auto& l : lines) out += "\n      " + l;
    return out;
}

std::vector<std::string> ClassTable(const std::string& module, bool withCategories)
{
    const std::string c = kClsidKey;
    std::vector<std::string> lines = {
        c, c + "|@=GetSerial Class",
        c + "\\ProgID", c + "\\ProgID|@=Morvik.GetSerial.1",
        c + "\\VersionIndependentProgID", c + "\\VersionIndependentProgID|@=Morvik.GetSerial",
        c + "\\Programmable",
        c + "\\InprocServer32", c + "\\InprocServer32|@=" + module,
        c + "\\InprocServer32|ThreadingModel=Apartment",
        c + "\\TypeLib", c + "\\TypeLib|@={4BDEBD15-6343-47F1-99BA-C3F121C69220}",
    };
    if (withCategories) {
        lines.push_back(c + "\\Implemented Categories");
        lines.push_back(c + "\\Implemented Categories\\{7DD95801-9882-11CF-9FA9-00AA006C42C4}");
        lines.push_back(c + "\\Implemented Categories\\{7DD95802-9882-11CF-9FA9-00AA006C42C4}");
    }
    return Expected(lines);
}

// Removes a registration of the server whatever state it is in.
void Unregister(const std::string& module)
{
    Regsvr32(module, true);
}

}  // namespace

TEST(Registration_WritesTheTable)
{
    const std::string module = ServerPath();
    Unregister(module);
    CHECK_EQ(Regsvr32(module), 0);

    CHECK_EQ(Join(DumpClassesKey("Morvik.GetSerial.1")),
             Join(Expected({"Morvik.GetSerial.1", "Morvik.GetSerial.1|@=GetSerial Class",
                            "Morvik.GetSerial.1\\CLSID",
                            "Morvik.GetSerial.1\\CLSID|@={242D4259-593C-44F7-B3E2-BB711B1DC7D0}"})));
    CHECK_EQ(Join(DumpClassesKey("Morvik.GetSerial")),
             Join(Expected({"Morvik.GetSerial", "Morvik.GetSerial|@=GetSerial Class",
                            "Morvik.GetSerial\\CLSID",
                            "Morvik.GetSerial\\CLSID|@={242D4259-593C-44F7-B3E2-BB711B1DC7D0}",
                            "Morvik.GetSerial\\CurVer", "Morvik.GetSerial\\CurVer|@=Morvik.GetSerial.1"})));
    CHECK_EQ(Join(DumpClassesKey(kClsidKey)), Join(ClassTable(module, true)));

    // The type library, registered for this architecture, and the dual
    // interface for the automation marshaler.
    const std::string lib = std::string(kTypeLibKey) + "\\1.0";
    const char* arch = sizeof(void*) == 8 ? "win64" : "win32";
    std::vector<std::string> typeLib = DumpClassesKey(kTypeLibKey);
    for (const std::string& line : {lib + "|@=Morvik 1.0 Type Library", lib + "\\0\\" + arch + "|@=" + module,
                                    lib + "\\HELPDIR|@=" + module.substr(0, module.rfind('\\') + 1)})
        CHECK(std::find(typeLib.begin(), typeLib.end(), line) != typeLib.end()) << line << Join(typeLib);
    std::vector<std::string> iface = DumpClassesKey(kInterfaceKey);
    const std::string marshaler = std::string(kInterfaceKey) + "\\ProxyStubClsid32|@={00020424-0000-0000-C000-000000000046}";
    CHECK(std::find(iface.begin(), iface.end(), marshaler) != iface.end()) << Join(iface);
}

TEST(Registration_TwiceIsOnce)
{
    const std::string module = ServerPath();
    CHECK_EQ(Regsvr32(module), 0);
    std::vector<std::string> once = RegistrationState();
    CHECK_EQ(Regsvr32(module), 0);
    CHECK_EQ(Join(RegistrationState()), Join(once));
    CHECK(!once.empty());
}

TEST(Registration_StaleClassKeyReplaced)
{
    // A stale value and subkey under the class key are wiped by the forced
    // re-creation; the categories come back under the fresh key.
    const std::string module = ServerPath();
    HKEY key = nullptr;
    ::RegCreateKeyExA(HKEY_CLASSES_ROOT, (std::string(kClsidKey) + "\\Stale").c_str(), 0, nullptr, 0,
                      KEY_WRITE, nullptr, &key, nullptr);
    if (key) ::RegCloseKey(key);
    CHECK_EQ(Regsvr32(module), 0);
    CHECK_EQ(Join(DumpClassesKey(kClsidKey)), Join(ClassTable(module, true)));
}

TEST(Registration_UnregisterLeavesNothing)
{
    const std::string module = ServerPath();
    CHECK_EQ(Regsvr32(module), 0);
    CHECK_EQ(Regsvr32(module, true), 0);
    for (const char* key : {"Morvik.GetSerial.1", "Morvik.GetSerial", kClsidKey, kTypeLibKey, kInterfaceKey})
        CHECK(!ClassesKeyExists(key)) << key << Join(DumpClassesKey(key));
    CHECK(ClassesKeyExists("CLSID")) << "CLSID itself is never removed";
    CHECK_EQ(Regsvr32(module, true), 0) << "unregistering again does not fail";
    RestoreRegistration();
}

TEST(Registration_PathWithQuote)
{
    const std::string folder = "C:\\Program Files\\VeltraCA\\Morvik's copy";
    const std::string copy = folder + "\\Morvik.dll";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    CHECK(::CopyFileA(ServerPath().c_str(), copy.c_str(), FALSE)) << "error " << ::GetLastError();
    CHECK_EQ(Regsvr32(copy), 0);
    CHECK_EQ(Join(DumpClassesKey(kClsidKey)), Join(ClassTable(copy, true)));
    Unregister(copy);
    ::DeleteFileA(copy.c_str());
    ::RemoveDirectoryA(folder.c_str());
    RestoreRegistration();
}

TEST(Registration_WithoutCategoriesManager)
{
    // The manager's class treated as an unknown one: it cannot be created.
    const std::string treatAs = std::string(kCategoriesManagerKey) + "\\TreatAs";
    HKEY key = nullptr;
    ::RegCreateKeyExA(HKEY_CLASSES_ROOT, treatAs.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    const char unknown[] = "{9C2D47F0-61A5-4E5B-9F3D-0B7E4A1C2D33}";
    if (key) {
        ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(unknown), sizeof unknown);
        ::RegCloseKey(key);
    }
    const std::string module = ServerPath();
    CHECK_EQ(Regsvr32(module), 0);
    CHECK_EQ(Join(DumpClassesKey(kClsidKey)), Join(ClassTable(module, false)));
    CHECK_EQ(Regsvr32(module, true), 0);
    CHECK(!ClassesKeyExists(kClsidKey));
    DeleteClassesTree(treatAs);
    RestoreRegistration();
}
