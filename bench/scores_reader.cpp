// Readers of the public table for bench/scores_load.py: N threads, each on its own kept-alive
// connection, asking for pages of the three tables for S seconds; prints reads, p50 and p99.
//   korvex-scores-reader PORT READERS SECONDS
#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: korvex-scores-reader PORT READERS SECONDS\n");
        return 2;
    }
    const int port = std::atoi(argv[1]), readers = std::atoi(argv[2]);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(std::atoi(argv[3]));
    const char* const difficulties[] = {"easy", "medium", "hard"};
    std::mutex mutex;
    std::vector<double> all;
    int failures = 0;
    std::vector<std::thread> threads;
    for (int r = 0; r < readers; ++r) {
        threads.emplace_back([&, r] {
            httplib::Client client("127.0.0.1", port);
            client.set_keep_alive(true);
            std::mt19937 random(static_cast<unsigned>(r));
            std::vector<double> mine;
            int failed = 0;
            while (std::chrono::steady_clock::now() < until) {
                // Mostly the first page, as the page and the clients read it; now and then a later one.
                const int offset = random() % 4 == 0 ? static_cast<int>(random() % 3000) : 0;
                const std::string path = std::string("/api/v1/scores?difficulty=") +
                                         difficulties[random() % 3] +
                                         "&limit=100&offset=" + std::to_string(offset);
                const auto began = std::chrono::steady_clock::now();
                const auto res = client.Get(path.c_str());
                mine.push_back(
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count());
                if (!res || res->status != 200) ++failed;
            }
            std::lock_guard<std::mutex> lock(mutex);
            all.insert(all.end(), mine.begin(), mine.end());
            failures += failed;
        });
    }
    for (std::thread& t : threads) t.join();
    std::sort(all.begin(), all.end());
    if (all.empty()) return 1;
    std::printf("%zu %.3f %.3f %d\n", all.size(), all[all.size() / 2] * 1000,
                all[all.size() * 99 / 100] * 1000, failures);
    return failures == 0 ? 0 : 1;
}
