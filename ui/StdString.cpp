#include "ui/StdString.h"

#include <cstdio>
#include <cstring>
#include <vector>

CStdString::CStdString(const char* text, int length) {
    if (text && length > 0) data_.assign(text, static_cast<std::size_t>(length));
}

char CStdString::GetAt(int index) const {
    if (index < 0 || index >= GetLength()) return 0;
    return data_[static_cast<std::size_t>(index)];
}

int CStdString::Find(std::string_view text, int start) const {
    if (start < 0 || start > GetLength()) return -1;
    auto pos = data_.find(text, static_cast<std::size_t>(start));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CStdString::Find(char ch, int start) const {
    return Find(std::string_view(&ch, 1), start);
}

int CStdString::Replace(std::string_view from, std::string_view to) {
    if (from.empty()) return 0;
    int count = 0;
    std::string out;
    std::size_t pos = 0;
    for (;;) {
        std::size_t hit = data_.find(from, pos);
        if (hit == std::string::npos) break;
        out.append(data_, pos, hit - pos);
        out.append(to);
        pos = hit + from.size();
        ++count;
    }
    if (count == 0) return 0;
    out.append(data_, pos, std::string::npos);
    data_.swap(out);
    return count;
}

CStdString CStdString::Left(int count) const {
    if (count <= 0) return {};
    return CStdString(data_.substr(0, static_cast<std::size_t>(count)));
}

CStdString CStdString::Right(int count) const {
    if (count <= 0) return {};
    if (count >= GetLength()) return *this;
    return CStdString(data_.substr(data_.size() - static_cast<std::size_t>(count)));
}

CStdString CStdString::Mid(int start, int count) const {
    if (start < 0) start = 0;
    if (start >= GetLength()) return {};
    if (count < 0) return CStdString(data_.substr(static_cast<std::size_t>(start)));
    return CStdString(
        data_.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(count)));
}

int CStdString::Compare(std::string_view other) const {
    int r = std::string_view(data_).compare(other);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CStdString::FormatV(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed < 0) {
        data_.clear();
        return 0;
    }
    std::vector<char> buffer(static_cast<std::size_t>(needed) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    data_.assign(buffer.data(), static_cast<std::size_t>(needed));
    return needed;
}

int CStdString::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    int n = FormatV(format, args);
    va_end(args);
    return n;
}

CStdString CStdString::Formatted(const char* format, ...) {
    CStdString s;
    va_list args;
    va_start(args, format);
    s.FormatV(format, args);
    va_end(args);
    return s;
}
