#pragma once
// CStdString: the narrow string that crosses into and out of the UI library. It holds bytes
// (UTF-8 for our own texts, whatever the unit sent for its values) and offers the handful of
// operations the program uses. Positions are byte offsets; -1 means "not found".
#include <cstdarg>
#include <string>
#include <string_view>

class CStdString {
  public:
    CStdString() = default;
    CStdString(const char* text) : data_(text ? text : "") {}
    CStdString(const char* text, int length);
    CStdString(std::string text) : data_(std::move(text)) {}
    CStdString(std::string_view text) : data_(text) {}

    const char* GetData() const { return data_.c_str(); }
    const std::string& str() const { return data_; }
    operator const char*() const { return data_.c_str(); }
    operator std::string_view() const { return data_; }

    int GetLength() const { return static_cast<int>(data_.size()); }
    bool IsEmpty() const { return data_.empty(); }
    void Empty() { data_.clear(); }
    // The byte at index, or 0 outside the string.
    char GetAt(int index) const;

    // Offset of the first occurrence of text at or after start, or -1.
    int Find(std::string_view text, int start = 0) const;
    int Find(char ch, int start = 0) const;
    // Replaces every occurrence of from by to; returns how many were replaced.
    int Replace(std::string_view from, std::string_view to);
    CStdString Left(int count) const;
    CStdString Right(int count) const;
    CStdString Mid(int start, int count = -1) const;
    // strcmp-like comparison: negative, zero or positive.
    int Compare(std::string_view other) const;

    // printf-style formatting; replaces the content. Returns the new length.
    int Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    int FormatV(const char* format, va_list args);
    static CStdString Formatted(const char* format, ...) __attribute__((format(printf, 1, 2)));

    CStdString& operator+=(std::string_view text) {
        data_.append(text);
        return *this;
    }
    CStdString& operator+=(char ch) {
        data_.push_back(ch);
        return *this;
    }
    friend CStdString operator+(const CStdString& a, std::string_view b) {
        return CStdString(a.data_ + std::string(b));
    }
    friend CStdString operator+(const CStdString& a, const CStdString& b) {
        return CStdString(a.data_ + b.data_);
    }
    friend CStdString operator+(const CStdString& a, const char* b) {
        return CStdString(a.data_ + std::string(b ? b : ""));
    }
    friend CStdString operator+(const char* a, const CStdString& b) {
        return CStdString(std::string(a) + b.data_);
    }
    friend bool operator==(const CStdString& a, std::string_view b) { return a.data_ == b; }
    friend bool operator==(const CStdString& a, const char* b) { return a.data_ == b; }
    friend bool operator==(const CStdString& a, const std::string& b) { return a.data_ == b; }
    friend bool operator==(const CStdString& a, const CStdString& b) { return a.data_ == b.data_; }

  private:
    std::string data_;
};
