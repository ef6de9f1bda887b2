#pragma once

#include <cstdint>
#include <string_view>

namespace tavrisk {

// The collation of number lists and other string lists: a total order over
// byte strings in GBK.
//
// A string is read as a sequence of characters: an ASCII byte is one
// character; a byte 0x81-0xFE followed by a byte 0x40-0xFE (not 0x7F) is one
// two-byte GBK character; any other byte of 0x80 or above stands alone.
// Characters are ranked, from lowest to highest:
//
//   1. the apostrophe "'" and then the hyphen "-" (see below);
//   2. control bytes 0x00-0x1F in byte order, then DEL 0x7F;
//   3. the other ASCII signs in byte order:
//        space ! " # $ % & ( ) * + , . / : ; < = > ? @ [ \ ] ^ _ ` { | } ~
//   4. the digits 0-9 (each digit is one character: "10" sorts before "9");
//   5. the letters a-z, with case ignored ("A" and "a" rank the same);
//   6. every byte of 0x80 or above: GBK characters by their two bytes
//      (lead byte, then trail byte), so the level-1 GB2312 Chinese
//      characters come in pinyin order; a stray high byte ranks just before
//      the two-byte characters that begin with the same byte.
//
// Two strings are compared in two rounds. The first compares the characters
// with every apostrophe and hyphen left out, so those two weigh less than any
// other difference: "0101-2222222" sorts before "010-3333333". Only when the
// first round finds no difference does the second compare the full
// sequences, apostrophes and hyphens included; there they rank below every
// other character, and a string that ends first sorts first. The empty
// string therefore sorts before every other string. Two strings compare equal
// only when they differ in nothing but the case of ASCII letters.
int Collate(std::string_view a, std::string_view b);

// A 64-bit prefix key that agrees with Collate: Collate(a, b) < 0 implies
// CollationKey(a) <= CollationKey(b). Equal keys decide nothing; different
// keys decide the order. Lines made of up to 16 digits (hyphens and
// apostrophes aside) get keys that differ whenever their digits differ.
std::uint64_t CollationKey(std::string_view s);

}  // namespace tavrisk
