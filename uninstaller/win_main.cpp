// Entry of the Windows uninstaller: no window, no question, no message. It deletes the product's uninstall
// entry and its Start-menu entry, and hands the removal of its own folder to a hidden batch that outlives it.
#include <mbctype.h>
#include <windows.h>
// After windows.h, which they need.
#include <sddl.h>
#include <shlobj.h>

#include <string>

#include "key_tree.h"
#include "shortcut.h"
#include "uninstall_logic.h"
#include "win_registry.h"

namespace {

// The runtime starts with the system's ANSI code page as its multibyte code page.
bool isSystemLeadByte(unsigned char byte) {
    return _ismbblead(byte) != 0;
}

// Empty when the path is missing or was cut to fit the buffer: a cut path names another folder.
std::string ownPath() {
    char buffer[uninstaller::kOwnPathCapacity] = {};
    DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer) return std::string();
    return std::string(buffer, length);
}

// The game holds its mutex while it runs; its files could not all go then. A mutex we may not open is
// still there.
bool gameRunning() {
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, uninstaller::kGameMutex);
    if (mutex == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;
    CloseHandle(mutex);
    return true;
}

// The command prompt reads a batch in the OEM code page, and the paths are in the ANSI one: the text is
// written in the OEM code page (the same bytes for plain ASCII). False when a character has no OEM form,
// or the text would no longer fit: such a folder could not be removed, so nothing may change.
bool toOemCodePage(std::string* text) {
    const int size = static_cast<int>(text->size());
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    const int wideLength =
        MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text->data(), size, &wide[0], size);
    if (size != 0 && wideLength == 0) return false;
    const bool utf8 = GetOEMCP() == CP_UTF8;  // takes no flags, and writes every character
    BOOL lost = FALSE;
    std::string oem(uninstaller::kBatchCapacity, '\0');
    const int length =
        WideCharToMultiByte(CP_OEMCP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, &oem[0],
                            static_cast<int>(oem.size()) - 1, nullptr, utf8 ? nullptr : &lost);
    if ((size != 0 && length == 0) || lost) return false;
    oem.resize(static_cast<std::size_t>(length));
    text->swap(oem);
    return true;
}

// The string SID of the user this process runs as; empty when it cannot be told.
std::string currentUserSid() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return std::string();
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::string buffer(size, '\0');
    char* sid = nullptr;
    if (size != 0 && GetTokenInformation(token, TokenUser, &buffer[0], size, &size)) {
        ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(&buffer[0])->User.Sid, &sid);
    }
    CloseHandle(token);
    const std::string text = sid ? sid : "";
    LocalFree(sid);
    return text;
}

// Made new with a descriptor of its own: a file of that name already there keeps its owner and its
// DACL when written over, so it is deleted first, and one that comes back meanwhile is not used.
bool writeBatch(const std::string& text) {
    const std::string sid = currentUserSid();
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (sid.empty() || !ConvertStringSecurityDescriptorToSecurityDescriptorA(
                           uninstaller::batchSecurity(sid).c_str(), SDDL_REVISION_1, &descriptor, nullptr)) {
        return false;
    }
    SECURITY_ATTRIBUTES security = {sizeof security, descriptor, FALSE};
    DeleteFileA(uninstaller::kBatchPath);
    HANDLE file = CreateFileA(uninstaller::kBatchPath, GENERIC_WRITE, 0, &security, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    LocalFree(descriptor);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return true;
}

// Starts the batch suspended at idle priority and resumes it only after this process has raised its own
// priority, so the batch's retry loop does not compete with our exit.
void startBatch() {
#ifndef _WIN64
    static_assert(sizeof(STARTUPINFOA) == 68, "the start-up record of a 32-bit process");
#endif
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    char commandLine[] = "\\DelUS.bat";
    if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, CREATE_SUSPENDED | IDLE_PRIORITY_CLASS,
                        nullptr, "\\", &startup, &process)) {
        return;
    }
    SetThreadPriority(process.hThread, THREAD_PRIORITY_IDLE);
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
    CloseHandle(process.hProcess);
    ResumeThread(process.hThread);
    CloseHandle(process.hThread);
}

// The installer's Start-menu entry is the link named like the product's folder in the Programs folder of
// all users. It goes when it leads into the folder being removed: a link that leads elsewhere is not ours.
void removeStartMenuEntry(const std::string& keyName, const std::string& folderPath) {
    char programs[MAX_PATH] = {};
    if (SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs) != S_OK)
        return;
    const std::string link = std::string(programs) + "\\" + keyName + ".lnk";
    if (link.size() >= MAX_PATH) return;
    HANDLE file = CreateFileA(link.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    std::string bytes(uninstaller::kShortcutReadLimit, '\0');
    DWORD read = 0;
    const BOOL ok = ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(ok ? read : 0);
    if (uninstaller::liesInside(uninstaller::shortcutTarget(bytes), folderPath, isSystemLeadByte)) {
        DeleteFileA(link.c_str());
    }
}

void startSelfDelete(const std::string& batchText) {
    if (writeBatch(batchText)) startBatch();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::string path = ownPath();
    if (path.empty()) return 0;
    const uninstaller::UninstallPlan plan = uninstaller::planUninstall(path, isSystemLeadByte);
    if (plan.refusal != uninstaller::Refusal::none || gameRunning()) return 0;
    std::string batchText = plan.batchText;
    if (!toOemCodePage(&batchText)) return 0;
    uninstaller::WinRegistry registry;
    uninstaller::removeUninstallEntry(registry, plan.keyName.c_str());
    removeStartMenuEntry(plan.keyName, plan.folderPath);
    startSelfDelete(batchText);
    return 0;
}
