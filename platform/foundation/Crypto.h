#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Digests, encodings and ciphers the client needs, all from OpenSSL's libcrypto. Byte strings
// travel as std::string; every byte counts, NULs included.
namespace platform {

// MD5 (RFC 1321): the 16 raw digest bytes, and as 32 lower-case hex digits.
std::string md5Digest(std::string_view bytes);
std::string md5Hex(std::string_view bytes);

std::string hexEncode(std::string_view bytes, bool upper = false);

// Standard alphabet with "=" padding, no line breaks.
std::string base64Encode(std::string_view bytes);
// Accepts line breaks and spaces between groups; nothing for text that is not Base64.
std::optional<std::string> base64Decode(std::string_view text);

// Cryptographically strong random bytes.
std::string randomBytes(size_t count);

// Single DES in ECB mode with PKCS#7 padding. The key is the first 8 bytes of the key text,
// padded with zero bytes when shorter. Nothing when the cipher is unavailable.
std::optional<std::string> desEcbEncrypt(std::string_view key, std::string_view plain);
// Nothing as well for a cipher text of the wrong length or with bad padding.
std::optional<std::string> desEcbDecrypt(std::string_view key, std::string_view cipher);

// AES-128 in CBC mode with PKCS#7 padding. Nothing unless key and IV are 16 bytes each.
std::optional<std::string> aes128CbcEncrypt(std::string_view key16, std::string_view iv16,
                                            std::string_view plain);
std::optional<std::string> aes128CbcDecrypt(std::string_view key16, std::string_view iv16,
                                            std::string_view cipher);

// AES-128 in CBC mode without padding, for formats that pad the text themselves. Nothing
// unless key and IV are 16 bytes each and the input is a whole number of 16-byte blocks.
std::optional<std::string> aes128CbcEncryptBlocks(std::string_view key16, std::string_view iv16,
                                                  std::string_view plain);
std::optional<std::string> aes128CbcDecryptBlocks(std::string_view key16, std::string_view iv16,
                                                  std::string_view cipher);

}  // namespace platform
