// The static site (the web build) at /: files below one folder only, with their types, compressed
// where that helps, and revalidated by their ETag so that a new build is seen at once.
#include <httplib.h>
#include <sys/stat.h>
#include <zlib.h>

#include <fstream>
#include <mutex>
#include <sstream>
#include <unordered_map>

#include "service.h"

namespace scores {

namespace {

struct Type {
    const char* extension;
    const char* mime;
    bool compress;
};
// `compress`: gzipped here. Text, SVG and JSON are compressed by the HTTP library itself, for
// every answer of those types alike, so they are not marked.
const Type kTypes[] = {
    {".html", "text/html; charset=utf-8", false},
    {".js", "text/javascript; charset=utf-8", false},
    {".mjs", "text/javascript; charset=utf-8", false},
    {".css", "text/css; charset=utf-8", false},
    {".txt", "text/plain; charset=utf-8", false},
    {".svg", "image/svg+xml", false},
    {".json", "application/json", false},
    {".wasm", "application/wasm", true},
    {".webmanifest", "application/manifest+json", true},
    {".data", "application/octet-stream", true},
    {".ico", "image/x-icon", true},
    {".wav", "audio/wav", true},
    {".png", "image/png", false},
    {".pak", "application/octet-stream", false},  // gzip inside already
    {".kvr", "application/octet-stream", false},  // compressed inside already
};
constexpr std::size_t kMinCompressed = 256;  // smaller answers gain nothing

struct CachedFile {
    std::string etag;
    std::string mime;
    std::string bytes;
    std::string gzipped;  // empty when not worth it
};

std::string gzip(const std::string& bytes) {
    z_stream z{};
    if (deflateInit2(&z, 9, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK) return {};
    std::string out(deflateBound(&z, bytes.size()), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    z.avail_in = static_cast<uInt>(bytes.size());
    z.next_out = reinterpret_cast<Bytef*>(&out[0]);
    z.avail_out = static_cast<uInt>(out.size());
    const bool done = deflate(&z, Z_FINISH) == Z_STREAM_END;
    out.resize(z.total_out);
    deflateEnd(&z);
    return done ? out : std::string();
}

const Type* typeOf(const std::string& path) {
    for (const Type& t : kTypes) {
        const std::string ext = t.extension;
        if (path.size() > ext.size() && path.compare(path.size() - ext.size(), ext.size(), ext) == 0)
            return &t;
    }
    return nullptr;
}

// A request path as a file below the site: no "..", no hidden files, no odd characters.
bool safePath(const std::string& path) {
    if (path.empty() || path[0] != '/' || path.find('\0') != std::string::npos) return false;
    std::size_t at = 1;
    while (at <= path.size()) {
        const std::size_t end = std::min(path.find('/', at), path.size());
        const std::string part = path.substr(at, end - at);
        if (!part.empty() && part[0] == '.') return false;
        at = end + 1;
    }
    return path.find('\\') == std::string::npos;
}

class Site {
  public:
    explicit Site(std::string dir) : dir_(std::move(dir)) {}

    void serve(const httplib::Request& req, httplib::Response& res) {
        std::string path = req.path;
        if (!path.empty() && path.back() == '/') path += "index.html";
        const Type* type = typeOf(path);
        CachedFile file;
        if (!safePath(path) || !type || !load(path, *type, &file)) {
            res.status = 404;
            res.set_content("Not found\n", "text/plain");
            return;
        }
        res.set_header("ETag", file.etag);
        res.set_header("Cache-Control", "no-cache");
        res.set_header("Vary", "Accept-Encoding");
        if (req.get_header_value("If-None-Match") == file.etag) {
            res.status = 304;
            return;
        }
        const bool gzipped = !file.gzipped.empty() &&
                             req.get_header_value("Accept-Encoding").find("gzip") != std::string::npos;
        if (gzipped) res.set_header("Content-Encoding", "gzip");
        res.set_content(gzipped ? file.gzipped : file.bytes, file.mime.c_str());
    }

  private:
    bool load(const std::string& path, const Type& type, CachedFile* file) {
        const std::string full = dir_ + path;
        struct stat st {};
        if (stat(full.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
        const std::string etag = "\"" + std::to_string(st.st_size) + "-" + std::to_string(st.st_mtim.tv_sec) +
                                 "." + std::to_string(st.st_mtim.tv_nsec) + "\"";
        {
            std::lock_guard<std::mutex> lock(mutex_);
            const auto found = cache_.find(path);
            if (found != cache_.end() && found->second.etag == etag) return *file = found->second, true;
        }
        std::ifstream in(full, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        if (!in) return false;
        file->etag = etag;
        file->mime = type.mime;
        file->bytes = bytes.str();
        if (type.compress && file->bytes.size() >= kMinCompressed) file->gzipped = gzip(file->bytes);
        std::lock_guard<std::mutex> lock(mutex_);
        cache_[path] = *file;
        return true;
    }

    std::string dir_;
    std::mutex mutex_;
    std::unordered_map<std::string, CachedFile> cache_;
};

}  // namespace

void addSiteRoutes(httplib::Server& server, const std::string& dir) {
    auto site = std::make_shared<Site>(dir);
    server.Get(R"(/.*)",
               [site](const httplib::Request& req, httplib::Response& res) { site->serve(req, res); });
}

}  // namespace scores
