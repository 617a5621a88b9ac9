#include "SharedRing.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace vorlan::device {

namespace {

constexpr uint32_t kRingMagic = 0x474E4952;  // "RING"
constexpr size_t kHeaderSize = 4096;
// How long a side spins before it sleeps: longer than the device takes
// for a small call, far shorter than anything a person would notice.
constexpr LONGLONG kSpinMicroseconds = 200;

struct alignas(64) Cursor {
    std::atomic<uint64_t> value;
};
static_assert(std::atomic<uint64_t>::is_always_lock_free && std::atomic<uint32_t>::is_always_lock_free,
              "the ring's cursors are shared between processes");

LONGLONG SpinTicks() {
    static const LONGLONG ticks = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return frequency.QuadPart * kSpinMicroseconds / 1000000;
    }();
    return ticks;
}

void CloseIf(HANDLE& h) {
    if (h) CloseHandle(h);
    h = nullptr;
}

}  // namespace

// The head of the shared memory; the two rings follow it, the device's
// (what the desktop sends) first. Cursors count every byte ever passed, so
// full and empty differ; each is written by one side only.
struct SharedRing::Shared {
    uint32_t magic;
    uint32_t capacity;
    alignas(64) std::atomic<uint32_t> ended;
    alignas(64) std::atomic<uint32_t> asleep[2];  // by Side: waiting on its event
    Cursor written[2];                              // by receiving Side
    Cursor read[2];
};
bool SharedRing::Map(HANDLE mapping) {
    static_assert(sizeof(Shared) <= kHeaderSize);
    void* view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0);
    if (!view) return false;
    MEMORY_BASIC_INFORMATION region;
    if (VirtualQuery(view, &region, sizeof region) != sizeof region ||
        region.RegionSize < kHeaderSize + 2 * size_t{kRingCapacity}) {
        UnmapViewOfFile(view);
        return false;
    }
    shared_ = static_cast<Shared*>(view);
    uint8_t* rings = static_cast<uint8_t*>(view) + kHeaderSize;
    in_ = rings + (side_ == Side::Device ? 0 : kRingCapacity);
    out_ = rings + (side_ == Side::Device ? kRingCapacity : 0);
    return true;
}

bool SharedRing::Create(HANDLE peer) {
    Close();
    side_ = Side::Device;
    peer_ = peer;
    const uint64_t total = kHeaderSize + 2 * uint64_t{kRingCapacity};
    mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, static_cast<DWORD>(total >> 32),
                                  static_cast<DWORD>(total), nullptr);
    events_[0] = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    events_[1] = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (!mapping_ || !events_[0] || !events_[1] || !Map(mapping_)) {
        Close();
        return false;
    }
    new (shared_) Shared{kRingMagic, kRingCapacity, {0}, {{0}, {0}}, {{{0}}, {{0}}}, {{{0}}, {{0}}}};
    return true;
}

bool SharedRing::Attach(HANDLE mapping, HANDLE deviceEvent, HANDLE desktopEvent, HANDLE peer) {
    Close();
    side_ = Side::Desktop;
    mapping_ = mapping;
    events_[0] = deviceEvent;
    events_[1] = desktopEvent;
    peer_ = peer;
    if (!mapping_ || !events_[0] || !events_[1] || !peer_ || !Map(mapping_) || shared_->magic != kRingMagic ||
        shared_->capacity != kRingCapacity) {
        Close();
        return false;
    }
    return true;
}

bool SharedRing::Ended() const { return shared_->ended.load() != 0; }

void SharedRing::WakePeer() {
    int peer = side_ == Side::Device ? 1 : 0;
    if (shared_->asleep[peer].exchange(0)) SetEvent(events_[peer]);
}

template <typename Ready>
bool SharedRing::WaitUntil(Ready ready) {
    if (ready()) return true;
    LARGE_INTEGER start, now;
    QueryPerformanceCounter(&start);
    for (unsigned spins = 1;; ++spins) {
        if (ready()) return true;
        if (Ended()) return false;
        if (spins < 64) {
            YieldProcessor();
            continue;
        }
        // Past the first moment, give the processor to whoever waits for
        // it (a system call, not a wineserver request): on a busy machine
        // the other side may be among them.
        QueryPerformanceCounter(&now);
        if (now.QuadPart - start.QuadPart > SpinTicks()) break;
        SwitchToThread();
    }
    int me = static_cast<int>(side_);
    HANDLE waits[2] = {events_[me], peer_};
    for (;;) {
        // Said before the last look, so a peer that makes progress after
        // the look sees it and sets the event.
        shared_->asleep[me].store(1);
        if (ready()) {
            shared_->asleep[me].store(0);
            return true;
        }
        if (Ended()) return false;
        if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) {
            // The other side's process or thread ended (or the wait broke).
            shared_->ended.store(1);
            return false;
        }
    }
}

bool SharedRing::Send(const std::vector<uint8_t>& frame) {
    if (!shared_ || Ended()) return false;
    int to = side_ == Side::Device ? 1 : 0;
    std::atomic<uint64_t>& written = shared_->written[to].value;
    std::atomic<uint64_t>& read = shared_->read[to].value;
    const uint8_t* data = frame.data();
    size_t left = frame.size();
    uint64_t w = written.load(std::memory_order_relaxed);
    while (left > 0) {
        uint64_t r = 0;
        if (!WaitUntil([&] {
                r = read.load(std::memory_order_acquire);
                return w - r < kRingCapacity;
            }))
            return false;
        if (r > w) {  // a cursor no honest peer writes
            Shutdown();
            return false;
        }
        size_t n = std::min<size_t>(left, kRingCapacity - (w - r));
        size_t at = static_cast<size_t>(w % kRingCapacity), first = std::min(n, kRingCapacity - at);
        std::memcpy(out_ + at, data, first);
        std::memcpy(out_, data + first, n - first);
        w += n;
        data += n;
        left -= n;
        written.store(w);
        WakePeer();
    }
    return true;
}

bool SharedRing::ReceiveAll(uint8_t* data, size_t size) {
    int me = static_cast<int>(side_);
    std::atomic<uint64_t>& written = shared_->written[me].value;
    std::atomic<uint64_t>& read = shared_->read[me].value;
    uint64_t r = read.load(std::memory_order_relaxed);
    while (size > 0) {
        uint64_t w = 0;
        if (!WaitUntil([&] {
                w = written.load(std::memory_order_acquire);
                return w != r;
            }))
            return false;
        if (w < r || w - r > kRingCapacity) {  // a cursor no honest peer writes
            Shutdown();
            return false;
        }
        size_t n = std::min<size_t>(size, w - r);
        size_t at = static_cast<size_t>(r % kRingCapacity), first = std::min(n, kRingCapacity - at);
        std::memcpy(data, in_ + at, first);
        std::memcpy(data + first, in_, n - first);
        r += n;
        data += n;
        size -= n;
        read.store(r);
        WakePeer();
    }
    return true;
}

void SharedRing::Shutdown() {
    std::lock_guard<std::mutex> guard(lock_);
    if (!shared_) return;
    shared_->ended.store(1);
    SetEvent(events_[0]);
    SetEvent(events_[1]);
}

void SharedRing::Close() {
    std::lock_guard<std::mutex> guard(lock_);
    if (shared_) {
        shared_->ended.store(1);
        SetEvent(events_[side_ == Side::Device ? 1 : 0]);
        UnmapViewOfFile(shared_);
    }
    shared_ = nullptr;
    in_ = out_ = nullptr;
    CloseIf(mapping_);
    CloseIf(events_[0]);
    CloseIf(events_[1]);
    CloseIf(peer_);
}

}  // namespace vorlan::device
