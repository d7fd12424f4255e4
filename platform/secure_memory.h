#pragma once
// Secrets (Base32 keys, static passwords, decoded key bytes) are wiped when
// they go out of scope so they do not linger in freed memory.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace orvika2 {

// Zeroes memory in a way the optimiser may not drop.
void SecureWipe(void* data, std::size_t size);

template <class CharT>
void SecureWipe(std::basic_string<CharT>& text) {
    // Wipe the whole capacity: a shrunk string keeps old characters beyond size().
    text.resize(text.capacity());
    SecureWipe(text.data(), text.size() * sizeof(CharT));
    text.clear();
}

template <class T>
void SecureWipe(std::vector<T>& bytes) {
    bytes.resize(bytes.capacity());
    SecureWipe(bytes.data(), bytes.size() * sizeof(T));
    bytes.clear();
}

// A value that wipes itself on destruction.
template <class T>
class Wiped {
public:
    Wiped() = default;
    explicit Wiped(T value) : value_(std::move(value)) {}
    Wiped(const Wiped&) = delete;
    Wiped& operator=(const Wiped&) = delete;
    // A moved-from string or vector gives its buffer away, so nothing is left
    // behind to wipe.
    Wiped(Wiped&& other) noexcept : value_(std::move(other.value_)) {}
    Wiped& operator=(Wiped&& other) noexcept {
        if (this != &other) {
            Wipe();
            value_ = std::move(other.value_);
        }
        return *this;
    }
    ~Wiped() { Wipe(); }
    T& get() { return value_; }
    const T& get() const { return value_; }
    T* operator->() { return &value_; }
    const T* operator->() const { return &value_; }
    void Wipe() {
        if constexpr (requires { value_.capacity(); }) {
            SecureWipe(value_);
        } else {
            SecureWipe(&value_, sizeof(value_));
        }
    }

private:
    T value_{};
};

using SecretString = Wiped<std::string>;
using SecretWString = Wiped<std::wstring>;
using SecretBytes = Wiped<std::vector<std::uint8_t>>;

}  // namespace orvika2
