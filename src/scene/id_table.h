#pragma once
// Objects of one kind keyed by their handle number, in a flat array: a look-up is two array
// reads, no hashing. It answers the few map calls the scene makes (find, at, contains,
// emplace, erase, clear, iteration in no particular order) and a plain get.
//
// Handle numbers grow and are never reused, so the index from number to place covers only the
// numbers from a base on; clear() moves the base past every number stored so far, which keeps
// the index as small as one scene. Erasing moves the last object into the hole, so a pointer
// or iterator to an object holds only until the next emplace or erase.
#include <cstdint>
#include <stdexcept>
#include <utility>
#include <vector>

namespace kelmora::scene {

template <class T>
class IdTable {
 public:
  using value_type = std::pair<int32_t, T>;
  using iterator = typename std::vector<value_type>::iterator;
  using const_iterator = typename std::vector<value_type>::const_iterator;

  iterator begin() { return items_.begin(); }
  iterator end() { return items_.end(); }
  const_iterator begin() const { return items_.begin(); }
  const_iterator end() const { return items_.end(); }
  size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }

  iterator find(int32_t id) {
    const int32_t at = Place(id);
    return at < 0 ? items_.end() : items_.begin() + at;
  }
  const_iterator find(int32_t id) const {
    const int32_t at = Place(id);
    return at < 0 ? items_.end() : items_.begin() + at;
  }
  bool contains(int32_t id) const { return Place(id) >= 0; }
  // The object under id, or null.
  T* get(int32_t id) {
    const int32_t p = Place(id);
    return p < 0 ? nullptr : &items_[static_cast<size_t>(p)].second;
  }
  const T* get(int32_t id) const {
    const int32_t p = Place(id);
    return p < 0 ? nullptr : &items_[static_cast<size_t>(p)].second;
  }
  T& at(int32_t id) {
    const int32_t p = Place(id);
    if (p < 0) throw std::out_of_range("no scene object with this handle");
    return items_[static_cast<size_t>(p)].second;
  }
  const T& at(int32_t id) const {
    const int32_t p = Place(id);
    if (p < 0) throw std::out_of_range("no scene object with this handle");
    return items_[static_cast<size_t>(p)].second;
  }

  // Stores the object under id unless one is there already; ids below the base are refused.
  std::pair<iterator, bool> emplace(int32_t id, T value) {
    if (id < base_) return {items_.end(), false};
    if (const int32_t p = Place(id); p >= 0) return {items_.begin() + p, false};
    const size_t slot = static_cast<size_t>(id - base_);
    if (index_.size() <= slot) index_.resize(slot + 1, -1);
    index_[slot] = static_cast<int32_t>(items_.size());
    items_.emplace_back(id, std::move(value));
    return {items_.end() - 1, true};
  }
  T& operator[](int32_t id) { return emplace(id, T{}).first->second; }

  // Removes the object; the last one takes its place. Returns how many were removed.
  size_t erase(int32_t id) {
    const int32_t p = Place(id);
    if (p < 0) return 0;
    const size_t a = static_cast<size_t>(p);
    if (a + 1 != items_.size()) {
      items_[a] = std::move(items_.back());
      index_[static_cast<size_t>(items_[a].first - base_)] = p;
    }
    items_.pop_back();
    index_[static_cast<size_t>(id - base_)] = -1;
    return 1;
  }
  void erase(iterator it) { erase(it->first); }

  // A look-up over the table as it stands, for a run of gets: its get() answers as the table's
  // until the next emplace, erase or clear, without reading the table's fields again each time.
  class Lookup {
   public:
    explicit Lookup(IdTable& t)
        : base_(t.base_), index_(t.index_.data()), size_(t.index_.size()), items_(t.items_.data()) {}
    T* get(int32_t id) const {
      const size_t slot = static_cast<size_t>(static_cast<int64_t>(id) - base_);
      if (slot >= size_) return nullptr;  // below the base wraps round to a huge slot
      const int32_t p = index_[slot];
      return p < 0 ? nullptr : &items_[static_cast<size_t>(p)].second;
    }

   private:
    int64_t base_;
    const int32_t* index_;
    size_t size_;
    value_type* items_;
  };
  Lookup lookup() { return Lookup(*this); }

  void clear() {
    base_ += static_cast<int32_t>(index_.size());
    items_.clear();
    index_.clear();
  }

 private:
  int32_t Place(int32_t id) const {
    if (id < base_) return -1;
    const size_t slot = static_cast<size_t>(id - base_);
    return slot < index_.size() ? index_[slot] : -1;
  }

  int32_t base_ = 1;
  std::vector<int32_t> index_;  // id - base_ -> place in items_, -1 when none
  std::vector<value_type> items_;
};

}  // namespace kelmora::scene
