// The pack file as read from disk, through zlib: any bytes, compressed or not, within the capacity.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "resources/pack_reader.h"

namespace {
constexpr std::size_t kCapacity = 4096;  // small, so that content past the capacity is reached too
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::openScreen();
    static const int fd = memfd_create("pack", 0);
    fuzz::require(fd >= 0, "memfd_create");
    fuzz::require(ftruncate(fd, 0) == 0 && pwrite(fd, data, size, 0) == static_cast<ssize_t>(size), "write");
    ImageList list;
    std::string error;
    const bool ok =
        readPackFile(packReader(), list, "/proc/self/fd/" + std::to_string(fd), kCapacity, &error);
    fuzz::require(ok || (list.count == 0 && !error.empty()), "a failed read keeps images or says nothing");
    return 0;
}
