// postBytes through libcurl, which checks HTTPS servers against the system's certificate store.
#include <curl/curl.h>

#include "platform/platform.h"

namespace platform {

namespace {

constexpr long kConnectSeconds = 10;
constexpr long kWholeSeconds = 60;  // the server replays the game before it answers
constexpr std::size_t kMaxAnswer = 1 << 20;

std::size_t keepAnswer(char* data, std::size_t size, std::size_t count, void* answer) {
    std::string& body = *static_cast<std::string*>(answer);
    const std::size_t bytes = size * count;
    if (body.size() + bytes > kMaxAnswer) return 0;  // no score service answers at such length
    body.append(data, bytes);
    return bytes;
}

}  // namespace

HttpAnswer postBytes(const std::string& url, const std::string& body) {
    HttpAnswer answer;
    if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
        answer.error = "the network library cannot start";
        return answer;
    }
    CURL* curl = curl_easy_init();
    if (!curl) {
        answer.error = "the network library cannot start";
        curl_global_cleanup();
        return answer;
    }
    char reason[CURL_ERROR_SIZE] = "";
    curl_slist* headers = curl_slist_append(nullptr, "Content-Type: application/octet-stream");
    headers = curl_slist_append(headers, "Expect:");  // no wait for "100 Continue" before the body
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_POST, 1L);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "korvex");
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, kWholeSeconds);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, reason);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, keepAnswer);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &answer.body);
    const CURLcode result = curl_easy_perform(curl);
    if (result == CURLE_OK) {
        long status = 0;
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
        answer.status = static_cast<int>(status);
    } else {
        answer.body.clear();
        answer.error = *reason ? reason : curl_easy_strerror(result);
    }
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    curl_global_cleanup();
    return answer;
}

}  // namespace platform
