// StrField, StrReplaceAll, StrDelete and StrMid against plain std::string
// models on random byte strings (zero bytes included) and random separators.
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "runtime/core/errors.h"
#include "runtime/core/strings.h"

namespace {

StringValue S(const std::string &bytes) {
    return StringValue(bytes.data(), 0, static_cast<std::uint32_t>(bytes.size()));
}

std::string B(const StringValue &s) {
    return std::string(s.data, s.length);
}

std::string ModelField(const std::string &text, int n, const std::string &sep) {
    if (sep.empty() || text.find(sep) == std::string::npos)
        return n == 1 ? text : std::string();
    std::size_t from = 0;
    for (int i = 1; i < n; ++i) {
        const std::size_t at = text.find(sep, from);
        if (at == std::string::npos)
            return std::string();
        from = at + sep.size();
    }
    const std::size_t end = text.find(sep, from);
    return text.substr(from, end == std::string::npos ? std::string::npos : end - from);
}

std::string ModelReplaceAll(const std::string &text, const std::string &search, const std::string &repl) {
    if (search.empty())
        return text;
    std::string out;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(search, from)) != std::string::npos; from = at + search.size())
        out += text.substr(from, at - from) + repl;
    return out + text.substr(from);
}

std::string ModelDelete(const std::string &text, int p, int n) {
    if (p < 1)
        p = 1;
    if (n <= 0 || std::size_t(p) > text.size())
        return text;
    std::string out = text;
    return out.erase(std::size_t(p) - 1, std::size_t(n));
}

std::string ModelMid(const std::string &text, int p, int n) {
    if (n <= 0 || p <= 0 || std::size_t(p) > text.size())
        return std::string();
    return text.substr(std::size_t(p) - 1, std::size_t(n));
}

// Small alphabets make separators occur often, next to each other and at the ends.
std::string RandomBytes(std::mt19937 &rng, int maxLength, const std::string &alphabet) {
    std::uniform_int_distribution<int> length(0, maxLength);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::string s(std::size_t(length(rng)), '\0');
    for (char &c : s)
        c = alphabet[pick(rng)];
    return s;
}

TEST(StringProperties, AgreeWithPlainModels) {
    const std::int32_t savedLevel = ErrorLevel;
    ErrorLevel = -1; // positions below 1 are part of the input space
    std::mt19937 rng(20240611u);
    const std::string alphabet("ab;\0\xFF", 5);
    std::uniform_int_distribution<int> number(-3, 30);
    for (int round = 0; round < 20000; ++round) {
        const std::string text = RandomBytes(rng, 24, alphabet);
        const std::string sep = RandomBytes(rng, 3, alphabet);
        const std::string repl = RandomBytes(rng, 4, alphabet);
        const int p = number(rng);
        const int n = number(rng);
        SCOPED_TRACE(::testing::Message() << "round " << round << " p " << p << " n " << n);
        if (n >= 1) {
            ASSERT_EQ(B(StrField(S(text), n, S(sep))), ModelField(text, n, sep));
        }
        ASSERT_EQ(B(StrReplaceAll(S(text), S(sep), S(repl))), ModelReplaceAll(text, sep, repl));
        ASSERT_EQ(B(StrDelete(S(text), p, n)), ModelDelete(text, p, n));
        ASSERT_EQ(B(StrMid(S(text), p, n)), ModelMid(text, p, n));
    }
    ErrorLevel = savedLevel;
}

} // namespace
