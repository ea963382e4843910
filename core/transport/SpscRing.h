#pragma once
// A fixed ring of N slots between one producing and one consuming thread, without locks or
// allocation after construction. Either side may change threads, as long as the change is
// itself ordered (an input closed and opened again, a lock handed on).

#include <array>
#include <atomic>
#include <cstddef>

template <class T, std::size_t N>
class TSpscRing {
    static_assert(N > 0 && (N & (N - 1)) == 0, "N must be a power of two");

public:
    static constexpr std::size_t Capacity = N;

    // Producer. False, and nothing kept, when the ring is full.
    bool Push(const T& item)
    {
        const std::size_t tail = tail_.load(std::memory_order_relaxed);
        if (tail - head_.load(std::memory_order_acquire) == N) return false;
        slots_[tail & (N - 1)] = item;
        tail_.store(tail + 1, std::memory_order_release);
        return true;
    }

    // Consumer. The oldest item, or nullptr when the ring is empty; it stays until Pop.
    const T* Front() const
    {
        const std::size_t head = head_.load(std::memory_order_relaxed);
        if (head == tail_.load(std::memory_order_acquire)) return nullptr;
        return &slots_[head & (N - 1)];
    }
    void Pop() { head_.store(head_.load(std::memory_order_relaxed) + 1, std::memory_order_release); }

    // Either side: how many items wait (exact for the side that asks about its own end).
    std::size_t Size() const { return tail_.load(std::memory_order_acquire) - head_.load(std::memory_order_acquire); }

private:
    alignas(64) std::atomic<std::size_t> head_{0}; // next to take; written by the consumer
    alignas(64) std::atomic<std::size_t> tail_{0}; // next to fill; written by the producer
    std::array<T, N> slots_{};
};
