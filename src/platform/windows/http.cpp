// postBytes through the system's WinHTTP: no library to ship, and HTTPS checked against the
// certificates Windows trusts.
#include <windows.h>
#include <winhttp.h>

#include "platform/platform.h"
#include "platform/windows/wide.h"

namespace platform {

namespace {

constexpr int kConnectMs = 10000;
constexpr int kWholeMs = 60000;  // the server replays the game before it answers
constexpr std::size_t kMaxAnswer = 1 << 20;

// Closes a WinHTTP handle when it goes out of scope.
struct Handle {
    HINTERNET h = nullptr;
    ~Handle() {
        if (h) WinHttpCloseHandle(h);
    }
};

std::string failure(const char* step) {
    const DWORD code = GetLastError();
    switch (code) {
        case ERROR_WINHTTP_CANNOT_CONNECT:
            return "could not connect to the server";
        case ERROR_WINHTTP_NAME_NOT_RESOLVED:
            return "no such host";
        case ERROR_WINHTTP_TIMEOUT:
            return "the server did not answer in time";
        case ERROR_WINHTTP_SECURE_FAILURE:
            return "the server's certificate does not hold";
        case ERROR_WINHTTP_UNRECOGNIZED_SCHEME:
        case ERROR_WINHTTP_INVALID_URL:
            return "not an http:// or https:// address";
        default:
            return std::string(step) + " failed (WinHTTP error " + std::to_string(code) + ")";
    }
}

}  // namespace

HttpAnswer postBytes(const std::string& url, const std::string& body) {
    HttpAnswer answer;
    const std::wstring wideUrl = windows::wideText(url);
    URL_COMPONENTS parts = {};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!WinHttpCrackUrl(wideUrl.c_str(), 0, 0, &parts)) {
        answer.error = failure("reading the address");
        return answer;
    }
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength);
    path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    const bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;

    Handle session, connection, request;
    session.h = WinHttpOpen(L"korvex", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                            WINHTTP_NO_PROXY_BYPASS, 0);
    if (!session.h) return answer.error = failure("starting WinHTTP"), answer;
    WinHttpSetTimeouts(session.h, kConnectMs, kConnectMs, kWholeMs, kWholeMs);
    connection.h = WinHttpConnect(session.h, host.c_str(), parts.nPort, 0);
    if (!connection.h) return answer.error = failure("connecting"), answer;
    request.h = WinHttpOpenRequest(connection.h, L"POST", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                   WINHTTP_DEFAULT_ACCEPT_TYPES, secure ? WINHTTP_FLAG_SECURE : 0);
    if (!request.h) return answer.error = failure("opening the request"), answer;
    const wchar_t* type = L"Content-Type: application/octet-stream\r\n";
    if (!WinHttpSendRequest(request.h, type, static_cast<DWORD>(-1), const_cast<char*>(body.data()),
                            static_cast<DWORD>(body.size()), static_cast<DWORD>(body.size()), 0) ||
        !WinHttpReceiveResponse(request.h, nullptr)) {
        answer.error = failure("sending");
        return answer;
    }
    DWORD status = 0, size = sizeof status;
    if (!WinHttpQueryHeaders(request.h, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX)) {
        answer.error = failure("reading the answer");
        return answer;
    }
    for (;;) {
        char chunk[8192];
        DWORD got = 0;
        if (!WinHttpReadData(request.h, chunk, sizeof chunk, &got)) {
            answer.error = failure("reading the answer");
            answer.body.clear();
            return answer;
        }
        if (got == 0) break;
        if (answer.body.size() + got > kMaxAnswer) {
            answer.error = "the server's answer is too long";
            answer.body.clear();
            return answer;
        }
        answer.body.append(chunk, got);
    }
    answer.status = static_cast<int>(status);
    return answer;
}

}  // namespace platform
