// The Windows installer under wine, in a prefix made afresh for this program
// (windows/tests/fresh-prefix), with two host versions registered as the host
// registers them (HKLM\SOFTWARE\Adobe\Photoshop\<version>, ApplicationPath):
// a silent install goes to the shared plug-ins folder and /D= into a chosen
// one; the uninstall entry holds what Add or Remove Programs shows; the real
// host loads the installed module, and its Help opens the installed manual;
// the uninstaller leaves nothing of ours but the user's remembered choices;
// installing twice, or over an older version, leaves one copy and one entry;
// the folder page offers the shared folder and each host version's own.
// (That a 32-bit Windows is refused is windows/tests/refused-on-32-bit.)
#include "windows/tests/ManualFixture.h"
#include "windows/tests/WindowsHostFixture.h"
#include "windows/tests/WineSupport.h"

#include "host/core/ResultText.h"

#include <shlobj.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <thread>

namespace vhost::wintest {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const char* kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\CorvaneLabs.VellicorHoner";
constexpr const char* kUninstallKeys = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const char* kHostsKey = "SOFTWARE\\Adobe\\Photoshop";
constexpr const char* kProductName = "Corvane Labs Vellicor Honer";

std::string Lower(std::string s) {
    for (char& c : s) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return s;
}

std::string ShellFolder(int csidl) {
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) {
        throw std::runtime_error("no shell folder " + std::to_string(csidl));
    }
    return path;
}

// %CommonProgramFiles%\Adobe\Plug-Ins\CC: the folder every recent host reads.
std::string SharedFolder() {
    return ShellFolder(CSIDL_PROGRAM_FILES_COMMON) + "\\Adobe\\Plug-Ins\\CC";
}

std::optional<std::string> Text(HKEY root, const std::string& path, const std::string& name) {
    const std::optional<RegistryValue> v = ReadRegistryValue(root, path, name);
    if (!v || (v->type != REG_SZ && v->type != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    std::string text(v->bytes.begin(), v->bytes.end());
    while (!text.empty() && text.back() == '\0') {
        text.pop_back();
    }
    return text;
}

std::optional<DWORD> Number(HKEY root, const std::string& path, const std::string& name) {
    const std::optional<RegistryValue> v = ReadRegistryValue(root, path, name);
    if (!v || v->type != REG_DWORD || v->bytes.size() != sizeof(DWORD)) {
        return std::nullopt;
    }
    DWORD n = 0;
    std::copy(v->bytes.begin(), v->bytes.end(), reinterpret_cast<uint8_t*>(&n));
    return n;
}

void WriteText(HKEY root, const std::string& path, const std::string& name, const std::string& text) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr));
    RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    RegCloseKey(key);
}

// The names of every key below path, in the view asked for.
void CollectKeys(HKEY root, const std::string& path, REGSAM view, std::set<std::string>& out) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ENUMERATE_SUB_KEYS | view, &key) != ERROR_SUCCESS) {
        return;
    }
    std::vector<std::string> children;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof name;
        if (RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            break;
        }
        children.emplace_back(name, size);
    }
    RegCloseKey(key);
    for (const std::string& child : children) {
        const std::string full = path + "\\" + child;
        const std::string lower = Lower(full);
        // The file types and COM classes the system knows (thousands of
        // keys): the installer registers none.
        if (lower == "software\\classes" || lower == "software\\wow6432node\\classes") {
            continue;
        }
        out.insert(lower);
        CollectKeys(root, full, view, out);
    }
}

// What the machine holds where an installer could leave something: the files
// below the program, shared-data, user-data and temporary folders (the
// uninstaller's running copy aside), and the keys below HKLM\SOFTWARE (both
// views; the classes aside) and HKCU\Software (wine's own bookkeeping aside).
struct Snapshot {
    std::set<std::string> files;
    std::set<std::string> keys;

    static Snapshot Take() {
        Snapshot s;
        // Wine links the user's document folders (Templates among those
        // below AppData) to the account's home folder, which is no part of
        // the machine an installer changes: links are not followed.
        const std::string templates = Lower(ShellFolder(CSIDL_TEMPLATES));
        char temp[MAX_PATH + 1] = {};
        GetTempPathA(MAX_PATH, temp);
        for (const std::string& root :
             {ShellFolder(CSIDL_PROGRAM_FILES), ShellFolder(CSIDL_PROGRAM_FILESX86),
              ShellFolder(CSIDL_COMMON_APPDATA), ShellFolder(CSIDL_APPDATA), ShellFolder(CSIDL_LOCAL_APPDATA),
              std::string(temp)}) {
            std::error_code error;
            for (auto it = fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied,
                                                            error);
                 !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
                const std::string path = Lower(it->path().string());
                const DWORD attributes = GetFileAttributesA(it->path().string().c_str());
                if (path == templates ||
                    (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))) {
                    it.disable_recursion_pending();
                }
                // The uninstaller runs from a copy of itself in the
                // temporary folder (~nsuN.tmp\Un.exe, NSIS's way of removing
                // its own file), which the system clears later: that is no
                // part of the installation.
                if (path.find("\\~nsu") == std::string::npos) {
                    s.files.insert(path);
                }
            }
        }
        for (const REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
            CollectKeys(HKEY_LOCAL_MACHINE, "SOFTWARE", view, s.keys);
        }
        std::set<std::string> user;
        CollectKeys(HKEY_CURRENT_USER, "Software", 0, user);
        for (const std::string& k : user) {
            if (k.rfind("software\\wine", 0) != 0) {
                s.keys.insert("hkcu\\" + k);
            }
        }
        return s;
    }
};

std::string Difference(const std::set<std::string>& before, const std::set<std::string>& after) {
    std::string text;
    for (const std::string& s : after) {
        if (!before.count(s)) {
            text += "  left behind: " + s + "\n";
        }
    }
    for (const std::string& s : before) {
        if (!after.count(s)) {
            text += "  taken away: " + s + "\n";
        }
    }
    return text;
}

// A path in its long form, in lower case.
std::string Canonical(const std::string& path) {
    char full[MAX_PATH + 1] = {};
    const DWORD n = GetLongPathNameA(path.c_str(), full, MAX_PATH);
    return Lower(n > 0 && n <= MAX_PATH ? std::string(full, n) : path);
}

bool Exists(const std::string& path) {
    std::error_code ignored;
    return fs::exists(path, ignored);
}

bool SameBytes(const std::string& a, const std::string& b) {
    return ReadFileBytes(a) == ReadFileBytes(b);
}

// Runs an installer silently with more arguments (e.g. "/D=C:\\Folder");
// returns its exit code.
DWORD RunInstaller(const std::string& installer, const std::string& arguments = "") {
    const ProgramResult r =
        RunProgram("\"" + SystemPath(installer) + "\" /S" + (arguments.empty() ? "" : " " + arguments), 180s);
    EXPECT_FALSE(r.timedOut) << "the installer did not end";
    return r.exitCode;
}

DWORD Install(const std::string& arguments = "") {
    return RunInstaller(VLH_INSTALLER, arguments);
}

// Whether a process of the uninstaller still runs: the uninstaller copies
// itself to the temporary folder and goes on from there as Un_*.exe.
bool UninstallerRunning() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return false;
    }
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    bool running = false;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        const std::string name = Lower(entry.szExeFile);
        if (name.rfind("un_", 0) == 0 || name.rfind("au_", 0) == 0 || name.find("uninstall") != std::string::npos) {
            running = true;
        }
    }
    CloseHandle(snapshot);
    return running;
}

// Runs the uninstall command the entry names, silently, as Add or Remove
// Programs would, and waits until the uninstaller has finished.
void Uninstall() {
    const std::optional<std::string> command = Text(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString");
    ASSERT_TRUE(command) << "no uninstall entry";
    const ProgramResult r = RunProgram(*command + " /S", 60s);
    ASSERT_FALSE(r.timedOut);
    ASSERT_EQ(0u, r.exitCode) << r.output;
    const auto end = std::chrono::steady_clock::now() + 60s;
    while ((Text(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName") || UninstallerRunning()) &&
           std::chrono::steady_clock::now() < end) {
        Sleep(100);
    }
    ASSERT_FALSE(Text(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName")) << "the uninstaller left its entry";
    ASSERT_FALSE(UninstallerRunning()) << "the uninstaller did not end";
}

// The uninstall entries that name our product, in either registry view.
int EntriesOfOurs() {
    int count = 0;
    for (const REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKeys, 0, KEY_READ | view, &key) != ERROR_SUCCESS) {
            continue;
        }
        char name[256];
        for (DWORD i = 0;; ++i) {
            DWORD size = sizeof name;
            if (RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
                break;
            }
            char display[256] = {};
            DWORD displaySize = sizeof display;
            if (RegGetValueA(key, name, "DisplayName", RRF_RT_REG_SZ, nullptr, display, &displaySize) ==
                    ERROR_SUCCESS &&
                std::string(display) == kProductName) {
                ++count;
            }
        }
        RegCloseKey(key);
    }
    return count;
}

// Two installed host versions, as their installers register them, each with
// its Plug-ins folder; gone again with the object.
class FakeHosts {
public:
    FakeHosts() {
        const std::string programs = ShellFolder(CSIDL_PROGRAM_FILES) + "\\Adobe\\";
        hosts_ = {{"120.0", programs + "Adobe Photoshop 2021"}, {"180.0", programs + "Adobe Photoshop 2024"}};
        for (const auto& [version, folder] : hosts_) {
            fs::create_directories(folder + "\\Plug-ins");
            WriteText(HKEY_LOCAL_MACHINE, std::string(kHostsKey) + "\\" + version, "ApplicationPath",
                      folder + "\\");
        }
    }
    ~FakeHosts() {
        DeleteKeyTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Adobe");
        std::error_code ignored;
        fs::remove_all(ShellFolder(CSIDL_PROGRAM_FILES) + "\\Adobe", ignored);
    }
    std::string PluginsFolder(size_t i) const { return hosts_.at(i).second + "\\Plug-ins"; }
    size_t Count() const { return hosts_.size(); }

private:
    std::vector<std::pair<std::string, std::string>> hosts_;
};

class Installer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(0, EntriesOfOurs()) << "an earlier test left an installation behind";
        hosts = std::make_unique<FakeHosts>();
    }
    void TearDown() override {
        // Whatever a failed test left goes, so the next one starts clean.
        if (Text(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString")) {
            Uninstall();
        }
        hosts.reset();
        DeleteKeyTree(HKEY_CURRENT_USER, kMakerKey);
    }

    void ExpectInstalledIn(const std::string& folder) {
        EXPECT_TRUE(Exists(folder + "\\Honer.8li")) << folder;
        EXPECT_TRUE(Exists(folder + "\\vlh_help\\Honer-Manual-123.pdf")) << folder;
        if (Exists(folder + "\\Honer.8li")) {
            EXPECT_TRUE(SameBytes(folder + "\\Honer.8li", SystemPath(VLH_SHIPPED_MODULE)));
        }
        if (Exists(folder + "\\vlh_help\\Honer-Manual-123.pdf")) {
            EXPECT_TRUE(SameBytes(folder + "\\vlh_help\\Honer-Manual-123.pdf", SystemPath(VLH_MANUAL_PDF)))
                << "the installed manual is not the one the Linux build made";
        }
        EXPECT_EQ(Lower(folder), Lower(Text(HKEY_LOCAL_MACHINE, kUninstallKey, "InstallLocation").value_or("")));
    }
    void ExpectNotIn(const std::string& folder) {
        EXPECT_FALSE(Exists(folder + "\\Honer.8li")) << folder;
        EXPECT_FALSE(Exists(folder + "\\vlh_help")) << folder;
    }

    std::unique_ptr<FakeHosts> hosts;
};

TEST_F(Installer, ASilentInstallPutsThePlugInAndItsManualInTheSharedFolder) {
    ASSERT_EQ(0u, Install());
    ExpectInstalledIn(SharedFolder());
    for (size_t i = 0; i < hosts->Count(); ++i) {
        ExpectNotIn(hosts->PluginsFolder(i));
    }
    Uninstall();
}

TEST_F(Installer, ASilentInstallWithDGoesIntoTheChosenFolder) {
    const std::string chosen = ShellFolder(CSIDL_PROGRAM_FILES) + "\\My Plug-ins\\Sharpening";
    ASSERT_EQ(0u, Install("/D=" + chosen));
    ExpectInstalledIn(chosen);
    ExpectNotIn(SharedFolder());
    Uninstall();
    EXPECT_FALSE(Exists(ShellFolder(CSIDL_PROGRAM_FILES) + "\\My Plug-ins")) << "a folder it made is left";

    // Into one host version's own folder, which is there already and stays.
    ASSERT_EQ(0u, Install("/D=" + hosts->PluginsFolder(1)));
    ExpectInstalledIn(hosts->PluginsFolder(1));
    Uninstall();
    EXPECT_TRUE(Exists(hosts->PluginsFolder(1))) << "the host's own folder went";
    ExpectNotIn(hosts->PluginsFolder(1));
}

TEST_F(Installer, TheUninstallEntryTellsNameVersionPublisherSizeAndCommand) {
    ASSERT_EQ(0u, Install());
    EXPECT_EQ(kProductName, Text(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName").value_or("<none>"));
    EXPECT_EQ(VLH_PRODUCT_VERSION, Text(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion").value_or("<none>"));
    EXPECT_EQ("Corvane Labs, LLC.", Text(HKEY_LOCAL_MACHINE, kUninstallKey, "Publisher").value_or("<none>"));
    // In KiB: at least the two files, less than a mebibyte more.
    const uintmax_t files = fs::file_size(SharedFolder() + "\\Honer.8li") +
                            fs::file_size(SharedFolder() + "\\vlh_help\\Honer-Manual-123.pdf");
    const std::optional<DWORD> size = Number(HKEY_LOCAL_MACHINE, kUninstallKey, "EstimatedSize");
    ASSERT_TRUE(size);
    EXPECT_GE(*size, files / 1024);
    EXPECT_LT(*size, files / 1024 + 1024);
    // A quoted path of an uninstaller that is there.
    const std::string command = Text(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString").value_or("");
    ASSERT_GE(command.size(), 2u);
    EXPECT_EQ('"', command.front());
    EXPECT_EQ('"', command.back());
    EXPECT_TRUE(Exists(command.substr(1, command.size() - 2))) << command;
    EXPECT_EQ(command + " /S", Text(HKEY_LOCAL_MACHINE, kUninstallKey, "QuietUninstallString").value_or(""));
    // In the 64-bit view, where 64-bit programs are listed, not the 32-bit one.
    HKEY key = nullptr;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ | KEY_WOW64_32KEY, &key));
    EXPECT_EQ(1, EntriesOfOurs());
    Uninstall();
}

TEST_F(Installer, TheUninstallerLeavesNothingOfOursButTheUsersRememberedChoices) {
    const std::string parameters = ParametersKey("Vellicor Output Honer");
    WriteText(HKEY_CURRENT_USER, parameters, "Set", "Inkjet Output Honers");
    const Snapshot before = Snapshot::Take();
    ASSERT_EQ(0u, Install());
    const Snapshot installed = Snapshot::Take();
    EXPECT_NE(before.files, installed.files);
    Uninstall();
    const Snapshot after = Snapshot::Take();
    EXPECT_EQ(before.files, after.files) << Difference(before.files, after.files);
    EXPECT_EQ(before.keys, after.keys) << Difference(before.keys, after.keys);
    EXPECT_EQ("Inkjet Output Honers", Text(HKEY_CURRENT_USER, parameters, "Set").value_or("<gone>"));
}

TEST_F(Installer, InstallingTwiceLeavesOneEntryAndOneCopy) {
    const Snapshot before = Snapshot::Take();
    ASSERT_EQ(0u, Install());
    const Snapshot once = Snapshot::Take();
    ASSERT_EQ(0u, Install());
    const Snapshot twice = Snapshot::Take();
    EXPECT_EQ(1, EntriesOfOurs());
    EXPECT_EQ(once.files, twice.files) << Difference(once.files, twice.files);
    EXPECT_EQ(once.keys, twice.keys) << Difference(once.keys, twice.keys);
    ExpectInstalledIn(SharedFolder());
    Uninstall();
    const Snapshot after = Snapshot::Take();
    EXPECT_EQ(before.files, after.files) << Difference(before.files, after.files);
    EXPECT_EQ(before.keys, after.keys) << Difference(before.keys, after.keys);
}

TEST_F(Installer, AnInstallOverAnOlderVersionReplacesIt) {
    const Snapshot before = Snapshot::Take();
    // The older version, in one host version's own folder.
    ASSERT_EQ(0u, RunInstaller(VLH_OLDER_INSTALLER, "/D=" + hosts->PluginsFolder(0)));
    EXPECT_EQ(VLH_OLDER_VERSION, Text(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion").value_or("<none>"));
    EXPECT_TRUE(Exists(hosts->PluginsFolder(0) + "\\Honer.8li"));

    ASSERT_EQ(0u, Install());
    ExpectInstalledIn(SharedFolder());
    ExpectNotIn(hosts->PluginsFolder(0));
    EXPECT_EQ(VLH_PRODUCT_VERSION, Text(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion").value_or("<none>"));
    EXPECT_EQ(1, EntriesOfOurs());
    Uninstall();
    const Snapshot after = Snapshot::Take();
    EXPECT_EQ(before.files, after.files) << Difference(before.files, after.files);
    EXPECT_EQ(before.keys, after.keys) << Difference(before.keys, after.keys);
}

// The installer's own windows, driven as a user would, through the messages
// their buttons send (posted: a page runs its own message loop).
class InstallerWindows {
public:
    InstallerWindows() {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        std::string line = "\"" + SystemPath(VLH_INSTALLER) + "\"";
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process_)) {
            throw std::runtime_error("cannot start the installer");
        }
    }
    ~InstallerWindows() {
        if (WaitForSingleObject(process_.hProcess, 0) != WAIT_OBJECT_0) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, 10000);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }

    // The visible top-level window of the installer, once there is one.
    HWND Main(std::chrono::milliseconds timeout = 30s) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        do {
            struct Search {
                DWORD pid;
                HWND found;
            } search = {process_.dwProcessId, nullptr};
            EnumWindows(
                [](HWND w, LPARAM p) -> BOOL {
                    auto* s = reinterpret_cast<Search*>(p);
                    DWORD pid = 0;
                    GetWindowThreadProcessId(w, &pid);
                    if (pid == s->pid && IsWindowVisible(w) && GetWindow(w, GW_OWNER) == nullptr) {
                        s->found = w;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&search));
            if (search.found != nullptr) {
                return search.found;
            }
            Sleep(100);
        } while (std::chrono::steady_clock::now() < end);
        return nullptr;
    }

    static std::string TextOf(HWND w) {
        char text[1024] = {};
        DWORD_PTR length = 0;
        SendMessageTimeoutA(w, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                            &length);
        return std::string(text, std::min<size_t>(length, sizeof text));
    }

    // The radio buttons of the page shown now, in order.
    static std::vector<HWND> Radios(HWND main) {
        std::vector<HWND> radios;
        EnumChildWindows(
            main,
            [](HWND w, LPARAM p) -> BOOL {
                char name[32] = {};
                GetClassNameA(w, name, sizeof name);
                const LONG type = GetWindowLongA(w, GWL_STYLE) & BS_TYPEMASK;
                if (Lower(name) == "button" && IsWindowVisible(w) &&
                    (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON)) {
                    reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&radios));
        return radios;
    }

    // Presses the main window's button of that ID (1 Next/Install/Finish).
    static void Press(HWND main, int id) {
        PostMessageA(main, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(main, id)));
    }

    // The shown page's control of that ID (the page is a child dialog of the
    // main window), once it is there.
    static HWND WaitForControl(HWND main, int id, std::chrono::milliseconds timeout = 30s) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        do {
            struct Search {
                int id;
                HWND found;
            } search = {id, nullptr};
            EnumChildWindows(
                main,
                [](HWND w, LPARAM p) -> BOOL {
                    auto* s = reinterpret_cast<Search*>(p);
                    if (GetDlgCtrlID(w) == s->id && IsWindowVisible(w)) {
                        s->found = w;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&search));
            if (search.found != nullptr) {
                return search.found;
            }
            Sleep(100);
        } while (std::chrono::steady_clock::now() < end);
        return nullptr;
    }

    // Every window below main: class, ID and text, one a line (for failures).
    static std::string Describe(HWND main) {
        std::string text;
        EnumChildWindows(
            main,
            [](HWND w, LPARAM p) -> BOOL {
                char name[64] = {};
                GetClassNameA(w, name, sizeof name);
                *reinterpret_cast<std::string*>(p) += std::string("  ") + name + " " +
                                                      std::to_string(GetDlgCtrlID(w)) +
                                                      (IsWindowVisible(w) ? " visible " : " hidden ") +
                                                      "\"" + TextOf(w) + "\"\n";
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&text));
        return text;
    }

    bool WaitForEnd(std::chrono::milliseconds timeout) {
        return WaitForSingleObject(process_.hProcess, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
    }

private:
    PROCESS_INFORMATION process_ = {};
};

TEST_F(Installer, TheFolderPageOffersTheSharedFolderAndEachInstalledHostVersion) {
    InstallerWindows installer;
    const HWND main = installer.Main();
    ASSERT_NE(nullptr, main) << "no installer window";
    InstallerWindows::Press(main, 1); // past the welcome page

    std::vector<HWND> radios;
    const auto end = std::chrono::steady_clock::now() + 30s;
    while ((radios = InstallerWindows::Radios(main)).size() < 3 && std::chrono::steady_clock::now() < end) {
        Sleep(100);
    }
    std::vector<std::string> texts;
    for (HWND r : radios) {
        texts.push_back(InstallerWindows::TextOf(r));
    }
    ASSERT_EQ((std::vector<std::string>{"All recent versions (shared): " + SharedFolder(),
                                        "Version 120.0 only: " + hosts->PluginsFolder(0),
                                        "Version 180.0 only: " + hosts->PluginsFolder(1)}),
              texts);
    EXPECT_EQ(BST_CHECKED, SendMessageA(radios[0], BM_GETCHECK, 0, 0)) << "the shared folder is not the default";

    // The user picks the newest version's folder; the folder page shows it.
    PostMessageA(radios[2], BM_CLICK, 0, 0);
    Sleep(500);
    InstallerWindows::Press(main, 1);
    const HWND folder = InstallerWindows::WaitForControl(main, 1019);
    ASSERT_NE(nullptr, folder) << "no folder page; the installer shows:\n" << InstallerWindows::Describe(main);
    EXPECT_EQ(hosts->PluginsFolder(1), InstallerWindows::TextOf(folder));

    // Install, then Finish.
    InstallerWindows::Press(main, 1);
    const auto installed = std::chrono::steady_clock::now() + 120s;
    while (!Text(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName") && std::chrono::steady_clock::now() < installed) {
        Sleep(200);
    }
    // On to the finish page (shown by itself when the files are in), and Finish.
    bool ended = false;
    for (int i = 0; i < 30 && !ended; ++i) {
        ended = installer.WaitForEnd(1s);
        if (!ended) {
            InstallerWindows::Press(main, 1);
        }
    }
    EXPECT_TRUE(ended) << "the installer did not finish";
    ExpectInstalledIn(hosts->PluginsFolder(1));
    ExpectNotIn(SharedFolder());
    Uninstall();
}

// The real host with the module the installer put in the shared folder.
class InstalledByTheInstaller : public WindowsHostTest {
protected:
    static void SetUpTestSuite() {
        hosts = new FakeHosts;
        if (Install() != 0) {
            ADD_FAILURE() << "the installer failed";
        }
    }
    static void TearDownTestSuite() {
        Uninstall();
        delete hosts;
        hosts = nullptr;
    }
    void SetUp() override {
        modulePath = SharedFolder() + "\\Honer.8li";
        WindowsHostTest::SetUp();
    }
    static FakeHosts* hosts;
};

FakeHosts* InstalledByTheInstaller::hosts = nullptr;

TEST_F(InstalledByTheInstaller, TheHostRegistersItsFourPlugIns) {
    std::vector<std::string> names;
    for (const PluginRecord* p : plugins) {
        names.push_back(p->name);
    }
    EXPECT_EQ((std::vector<std::string>{"Vellicor Capture Honer...", "Vellicor Creative Honer...",
                                        "Vellicor Output Honer...", "Vellicor Capture Honer Expert..."}),
              names);
}

TEST_F(InstalledByTheInstaller, HelpHandsTheShellTheInstalledManual) {
    const std::string manual = SharedFolder() + "\\vlh_help\\Honer-Manual-123.pdf";
    ScratchFolder records("Vellicor Help record");
    PdfAssociation association(records.Path() + "opened.txt");
    const DoItResult r = DoIt("Vellicor Output Honer...", ReplayRequest("**Help**", "**Index**"));
    EXPECT_EQ(0, r.result) << ResultText(r.result);
    const std::optional<std::string> opened = association.WaitForOpened(30s);
    ASSERT_TRUE(opened) << "the shell opened nothing";
    // Exactly the installed manual's path (the shell may hand it over in
    // its short form).
    EXPECT_EQ(Canonical(manual), Canonical(*opened));
    EXPECT_TRUE(Exists(*opened)) << *opened;
}

} // namespace
} // namespace vhost::wintest
