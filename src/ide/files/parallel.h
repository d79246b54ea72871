#pragma once
// Independent pieces of a load (reading files, building modules) spread over a few threads.
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace ide::files {

/// Threads worth starting for `units` pieces of work when each thread should get at least
/// `perThread` of them: never more than the machine's cores, nor than 4 (past that the disk
/// and the allocator are what waits). `asked` > 0 overrides the choice.
inline int threadsFor(long long units, long long perThread, int asked = 0)
{
    if (asked > 0)
        return asked;
    const long long cores = std::max(1u, std::thread::hardware_concurrency());
    return int(std::min<long long>({cores, 4, 1 + units / std::max(1LL, perThread)}));
}

/// Calls `work(k, slot)` for every k < count on up to `threads` threads, the calling one
/// included; `slot` (< threads) tells the threads apart, for storage each keeps to itself.
/// `work` must not throw; which thread runs which k is not defined.
template <typename Work>
void parallelFor(std::size_t count, int threads, Work work)
{
    threads = int(std::min<std::size_t>(std::size_t(std::max(threads, 1)), std::max<std::size_t>(count, 1)));
    std::atomic<std::size_t> next{0};
    auto run = [&](int slot) {
        for (std::size_t k; (k = next.fetch_add(1)) < count;)
            work(k, slot);
    };
    std::vector<std::thread> helpers;
    for (int t = 1; t < threads; ++t) {
        try {
            helpers.emplace_back(run, t);
        } catch (const std::system_error &) {
            break; // no thread to be had: this one does the rest
        }
    }
    run(0);
    for (std::thread &helper : helpers)
        helper.join();
}

} // namespace ide::files
