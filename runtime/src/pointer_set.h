// A set of record pointers, asked on every handle that crosses a call
// whether it is live: open addressing in one array, so a lookup is a probe
// or two and an insert or erase allocates nothing (the array grows by
// doubling, now and then).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vexrt::detail {

template <typename T>
class PointerSet {
public:
    bool contains(const T* p) const {
        if (!p || slots_.empty()) return false;
        for (size_t i = home(p);; i = (i + 1) & mask()) {
            if (slots_[i] == p) return true;
            if (!slots_[i]) return false;
        }
    }
    size_t count(const T* p) const { return contains(p) ? 1 : 0; }

    // False when `p` is there already.
    bool insert(T* p) {
        if ((size_ + 1) * 4 > slots_.size() * 3) grow();
        size_t i = home(p);
        for (; slots_[i]; i = (i + 1) & mask())
            if (slots_[i] == p) return false;
        slots_[i] = p;
        ++size_;
        return true;
    }

    // False when `p` is not there. Later entries of the probe run move back
    // into the gap, so no marker of a removed entry is left behind.
    bool erase(const T* p) {
        if (!p || slots_.empty()) return false;
        size_t i = home(p);
        for (; slots_[i] != p; i = (i + 1) & mask())
            if (!slots_[i]) return false;
        size_t gap = i;
        for (size_t j = (gap + 1) & mask(); slots_[j]; j = (j + 1) & mask()) {
            const size_t want = home(slots_[j]);
            // Entry j may fill the gap when its home is not within (gap, j].
            const bool between = gap <= j ? (gap < want && want <= j) : (gap < want || want <= j);
            if (!between) {
                slots_[gap] = slots_[j];
                gap = j;
            }
        }
        slots_[gap] = nullptr;
        --size_;
        return true;
    }

    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    void clear() {
        slots_.clear();
        size_ = 0;
    }

    // Every member, in no particular order; the set must not change meanwhile.
    class const_iterator {
    public:
        const_iterator(const std::vector<T*>& slots, size_t i) : slots_(&slots), i_(i) { skip(); }
        T* operator*() const { return (*slots_)[i_]; }
        const_iterator& operator++() {
            ++i_;
            skip();
            return *this;
        }
        bool operator!=(const const_iterator& o) const { return i_ != o.i_; }
        bool operator==(const const_iterator& o) const { return i_ == o.i_; }
    private:
        void skip() {
            while (i_ < slots_->size() && !(*slots_)[i_]) ++i_;
        }
        const std::vector<T*>* slots_;
        size_t i_;
    };
    const_iterator begin() const { return const_iterator(slots_, 0); }
    const_iterator end() const { return const_iterator(slots_, slots_.size()); }

private:
    size_t mask() const { return slots_.size() - 1; }
    size_t home(const T* p) const {
        // Records are allocated blocks: the low bits say little.
        uint64_t h = uint64_t(reinterpret_cast<uintptr_t>(p)) * 0x9E3779B97F4A7C15ull;
        return size_t(h >> 32) & mask();
    }
    void grow() {
        std::vector<T*> old(slots_.empty() ? 64 : slots_.size() * 2, nullptr);
        old.swap(slots_);
        size_ = 0;
        for (T* p : old)
            if (p) insert(p);
    }

    std::vector<T*> slots_;
    size_t size_ = 0;
};

}  // namespace vexrt::detail
