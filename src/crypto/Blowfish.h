#pragma once
// The Blowfish block cipher: 64-bit blocks, 16 rounds, keys of 1 to 56 bytes, electronic code book use.
//
// There is one cipher state for the whole process: whoever sets a key sets it for every user of the cipher,
// and it stays in force until the next successful blf_KeyInit.
#include "crypto/UnsignedWord.h"

#include <QByteArray>
#include <cstdint>

constexpr int kBlfMinKeyBytes = 1;
constexpr int kBlfMaxKeyBytes = 56;

// Sets the key. A key of 1 to 56 bytes runs the key schedule and gives true. An empty key, a longer key or a
// null pointer gives false and changes nothing: the previous key stays in force.
bool blf_KeyInit(const uint8_t* key, int length);
bool blf_KeyInit(const QByteArray& key);

// Enciphers (deciphers) block[0..7] in place under the key in force. The halves are block[0..3] and
// block[4..7], each read big-endian. Throws RuntimeError when no key has been set yet.
void blf_EncryptBytes(uint8_t* block);
void blf_DecryptBytes(uint8_t* block);

// True once a key has been set.
bool blf_IsKeyed();

// Inner operations of the cipher.
void blf_Initialise(const uint8_t* key, int length); // the key schedule; length 1 to 56
void blf_LoadArrays();                               // the standard initial tables into the state
void blf_EncipherBlock(uint32_t& L, uint32_t& R);
void blf_DecipherBlock(uint32_t& L, uint32_t& R);
uint32_t blf_F(uint32_t x); // the round function
