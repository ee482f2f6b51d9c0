#include "memory_registry.h"

#include <cstring>

namespace {

std::vector<std::string> split(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string join(const std::string& parent, const std::string& name) {
    return parent.empty() ? name : parent + "\\" + name;
}

}  // namespace

void MemoryRegistry::addKey(const std::string& path) {
    Node* node = &root_;
    for (const std::string& part : split(path)) {
        std::unique_ptr<Node>& child = node->children[part];
        if (!child) child = std::make_unique<Node>();
        node = child.get();
    }
}

MemoryRegistry::Node* MemoryRegistry::find(const std::string& path) const {
    const Node* node = &root_;
    if (path.empty()) return const_cast<Node*>(node);
    for (const std::string& part : split(path)) {
        auto child = node->children.find(part);
        if (child == node->children.end()) return nullptr;
        node = child->second.get();
    }
    return const_cast<Node*>(node);
}

bool MemoryRegistry::hasKey(const std::string& path) const {
    return find(path) != nullptr;
}
void MemoryRegistry::denyOpen(const std::string& path) {
    find(path)->openDenied = true;
}
void MemoryRegistry::denyDelete(const std::string& path) {
    find(path)->deleteDenied = true;
}

bool MemoryRegistry::pathOf(uninstaller::RegistryKey key, std::string* path) const {
    if (key == kLocalMachine) {
        path->clear();
        return true;
    }
    auto handle = handles_.find(key);
    if (handle == handles_.end()) return false;
    *path = handle->second;
    return true;
}

bool MemoryRegistry::openKey(uninstaller::RegistryKey parent, const char* name, unsigned long access,
                             uninstaller::RegistryKey* key) {
    std::string parentPath;
    if (name == nullptr || !pathOf(parent, &parentPath)) return false;
    const std::string path = join(parentPath, name);
    Node* node = find(path);
    if (node == nullptr || node->openDenied) return false;
    opens_.push_back({path, access});
    *key = nextHandle_++;
    handles_[*key] = path;
    return true;
}

bool MemoryRegistry::enumSubkey(uninstaller::RegistryKey key, unsigned long index, char* name,
                                unsigned long* capacity) {
    std::string path;
    if (!pathOf(key, &path)) return false;
    Node* node = find(path);
    if (node == nullptr || index >= node->children.size()) return false;
    auto child = node->children.begin();
    std::advance(child, index);
    const std::string& childName = child->first;
    if (childName.size() + 1 > *capacity) return false;
    std::memcpy(name, childName.c_str(), childName.size() + 1);
    *capacity = static_cast<unsigned long>(childName.size());
    return true;
}

bool MemoryRegistry::deleteKey(uninstaller::RegistryKey parent, const char* name) {
    std::string parentPath;
    if (name == nullptr || !pathOf(parent, &parentPath)) return false;
    const std::string path = join(parentPath, name);
    Node* node = find(path);
    if (node == nullptr || node->deleteDenied || !node->children.empty()) return false;
    const std::size_t cut = path.rfind('\\');
    Node* owner = find(cut == std::string::npos ? std::string() : path.substr(0, cut));
    owner->children.erase(cut == std::string::npos ? path : path.substr(cut + 1));
    deletions_.push_back(path);
    return true;
}

void MemoryRegistry::closeKey(uninstaller::RegistryKey key) {
    if (handles_.erase(key) == 0) ++badCloses_;
}
