#pragma once

#include <algorithm>
#include <compare>
#include <cstddef>
#include <vector>

// Which readings of a series are in a set (in a fit, kept in by the user, ...) and which out,
// by their index in the series.
namespace kestramo::series {

class ReadingSet {
  public:
    ReadingSet() = default;
    // `size` readings, every one in or every one out.
    explicit ReadingSet(std::size_t size, bool in = false) : in_(size, in ? 1 : 0) {}

    // A reading beyond the set's size is out.
    bool Contains(std::size_t reading) const { return reading < in_.size() && in_[reading]; }
    bool Contains(int reading) const { return reading >= 0 && Contains(std::size_t(reading)); }
    void Add(std::size_t reading) { Set(reading, true); }
    void Remove(std::size_t reading) { Set(reading, false); }
    void Set(std::size_t reading, bool in) {
        if (reading >= in_.size()) in_.resize(reading + 1, 0);
        in_[reading] = in ? 1 : 0;
    }
    ReadingSet Without(std::size_t reading) const {
        ReadingSet set = *this;
        set.Remove(reading);
        return set;
    }
    ReadingSet With(std::size_t reading) const {
        ReadingSet set = *this;
        set.Add(reading);
        return set;
    }

    // How many readings are in.
    int Count() const { return int(std::count(in_.begin(), in_.end(), 1)); }
    bool Empty() const { return Count() == 0; }
    // The readings the set speaks of, in or out.
    std::size_t Size() const { return in_.size(); }

    friend bool operator==(const ReadingSet&, const ReadingSet&) = default;
    friend auto operator<=>(const ReadingSet&, const ReadingSet&) = default;

  private:
    std::vector<char> in_;
};

}  // namespace kestramo::series
