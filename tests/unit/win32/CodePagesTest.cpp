// Tests of code-page text whatever the system's own code page: conversion, and where a piece ends
// inside a character.
#include "platform/win32/CodePages.h"

#include <gtest/gtest.h>

namespace {

using Platform::Win32::CodePageToUtf8;
using Platform::Win32::UnfinishedTail;

TEST(CodePages, Conversion) {
    const struct {
        UINT codePage;
        std::string bytes, utf8;
    } cases[] = {
        {1252, "caf\xE9 \x80", "caf\xC3\xA9 \xE2\x82\xAC"},
        {850, "\x82t\x82", "\xC3\xA9t\xC3\xA9"}, // the OEM code page of western Europe
        {932, "\x82\xA0\xB1", "\xE3\x81\x82\xEF\xBD\xB1"},
        {65001, "\xE2\x98\x83", "\xE2\x98\x83"},
        {65001,
         "a\xFF"
         "b",
         "a\xEF\xBF\xBD"
         "b"}, // not UTF-8
        {1252, "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CodePageToUtf8(c.codePage, c.bytes), c.utf8) << c.codePage << " " << c.bytes;
}

TEST(CodePages, UnfinishedTail) {
    const struct {
        UINT codePage;
        std::string bytes;
        size_t tail;
    } cases[] = {
        {1252, "abc\xE9", 0},
        {932, "a\x82", 1},           // a lead byte at the end
        {932, "\x82\xA0", 0},        // a whole two-byte character
        {932, "\x82\x82", 0},        // the second 0x82 is the first one's trail byte
        {932, "\x82\x82\x82", 1},    // and the third begins a new character
        {932, "\xB1\x82", 1},        // a one-byte katakana before the lead byte
        {936, "x\x81", 1},           // Chinese
        {65001, "a\xE2", 1},         // three-byte character, first byte
        {65001, "a\xE2\x98", 2},     // and second
        {65001, "a\xE2\x98\x83", 0}, // complete
        {65001, "\xF0\x9F\x98", 3},  // four-byte character missing its last byte
        {65001, "\xF0\x9F\x98\x80", 0},
        {65001, "\x80\x80", 0}, // stray continuation bytes: nothing to wait for
        {65001, "", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UnfinishedTail(c.codePage, c.bytes), c.tail) << c.codePage << " " << c.bytes;
}

} // namespace
