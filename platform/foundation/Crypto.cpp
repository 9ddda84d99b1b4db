#include "platform/foundation/Crypto.h"

#include <openssl/evp.h>
#include <openssl/provider.h>
#include <openssl/rand.h>

#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "platform/foundation/Log.h"

namespace platform {

namespace {

// Single DES lives in OpenSSL 3's "legacy" provider; loading any provider explicitly stops
// the implicit "default" one from loading, so both are loaded, once per process.
void loadProviders() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (!OSSL_PROVIDER_load(nullptr, "legacy"))
            log("OpenSSL legacy provider unavailable");
        if (!OSSL_PROVIDER_load(nullptr, "default"))
            log("OpenSSL default provider unavailable");
    });
}

struct CipherContextDeleter {
    void operator()(EVP_CIPHER_CTX* ctx) const { EVP_CIPHER_CTX_free(ctx); }
};

// Fetching a cipher searches the providers under a lock, which costs more than encrypting a
// short text; each cipher is fetched once and kept for the life of the process.
// They are never freed: OpenSSL may already be cleaned up when static objects are destroyed.
const EVP_CIPHER* fetchCipher(const char* name) {
    static std::mutex mutex;
    static auto* fetched = new std::map<std::string, EVP_CIPHER*>();
    loadProviders();
    std::lock_guard lock(mutex);
    EVP_CIPHER*& cipher = (*fetched)[name];
    if (!cipher)
        cipher = EVP_CIPHER_fetch(nullptr, name, nullptr);
    return cipher;
}

const unsigned char* bytesOf(std::string_view text) {
    return reinterpret_cast<const unsigned char*>(text.data());
}

std::optional<std::string> runCipher(const char* name, bool encrypt, std::string_view key,
                                     std::string_view iv, std::string_view input,
                                     bool padding = true) {
    const EVP_CIPHER* cipher = fetchCipher(name);
    std::unique_ptr<EVP_CIPHER_CTX, CipherContextDeleter> ctx(EVP_CIPHER_CTX_new());
    if (!cipher || !ctx)
        return std::nullopt;
    if (EVP_CipherInit_ex2(ctx.get(), cipher, bytesOf(key), iv.empty() ? nullptr : bytesOf(iv),
                           encrypt ? 1 : 0, nullptr) != 1)
        return std::nullopt;
    if (!padding)
        EVP_CIPHER_CTX_set_padding(ctx.get(), 0);
    std::string out(input.size() + static_cast<size_t>(EVP_CIPHER_get_block_size(cipher)), '\0');
    int length = 0;
    int finalLength = 0;
    auto* buffer = reinterpret_cast<unsigned char*>(out.data());
    if (EVP_CipherUpdate(ctx.get(), buffer, &length, bytesOf(input),
                         static_cast<int>(input.size())) != 1 ||
        EVP_CipherFinal_ex(ctx.get(), buffer + length, &finalLength) != 1)
        return std::nullopt;
    out.resize(static_cast<size_t>(length + finalLength));
    return out;
}

std::string desKey(std::string_view key) {
    std::string padded(key.substr(0, 8));
    padded.resize(8, '\0');
    return padded;
}

}  // namespace

std::string md5Digest(std::string_view bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_md5(), nullptr) != 1)
        return {};
    return std::string(reinterpret_cast<const char*>(digest), length);
}

std::string md5Hex(std::string_view bytes) {
    return hexEncode(md5Digest(bytes));
}

std::string hexEncode(std::string_view bytes, bool upper) {
    const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 0x0f];
    }
    return out;
}

std::string base64Encode(std::string_view bytes) {
    std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    int length = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()), bytesOf(bytes),
                                 static_cast<int>(bytes.size()));
    out.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return out;
}

std::optional<std::string> base64Decode(std::string_view text) {
    // Only the alphabet, padding and white space are Base64 text. White space is dropped
    // first; the rest is decoded as whole groups in one pass (OpenSSL's line-by-line decoder
    // is several times slower on large bodies).
    static const std::array<signed char, 256> kKind = [] {
        std::array<signed char, 256> kind{};
        kind.fill(-1);
        for (int c = 'A'; c <= 'Z'; ++c) kind[static_cast<size_t>(c)] = 1;
        for (int c = 'a'; c <= 'z'; ++c) kind[static_cast<size_t>(c)] = 1;
        for (int c = '0'; c <= '9'; ++c) kind[static_cast<size_t>(c)] = 1;
        kind['+'] = kind['/'] = 1;
        kind['='] = 2;
        kind[' '] = kind['\t'] = kind['\r'] = kind['\n'] = 0;
        return kind;
    }();
    std::string compact(text.size(), '\0');
    size_t kept = 0;
    size_t padding = 0;
    for (const char c : text) {
        const signed char kind = kKind[static_cast<unsigned char>(c)];
        if (kind == 1 && padding == 0) {
            compact[kept++] = c;
        } else if (kind == 2) {
            ++padding;
            compact[kept++] = c;
        } else if (kind != 0) {
            return std::nullopt;  // not Base64, or text after the padding
        }
    }
    compact.resize(kept);
    if (compact.size() % 4 != 0 || padding > 2)
        return std::nullopt;
    std::string out(compact.size() / 4 * 3, '\0');
    const int length = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                       bytesOf(compact), static_cast<int>(compact.size()));
    if (length < 0 || static_cast<size_t>(length) < padding)
        return std::nullopt;
    out.resize(static_cast<size_t>(length) - padding);
    return out;
}

std::string randomBytes(size_t count) {
    std::string out(count, '\0');
    if (count == 0)
        return out;
    if (RAND_bytes(reinterpret_cast<unsigned char*>(out.data()), static_cast<int>(count)) == 1)
        return out;
    // OpenSSL's generator failing to seed is rare; the kernel's source is the next best.
    std::random_device device;
    for (auto& c : out) c = static_cast<char>(device() & 0xff);
    return out;
}

std::optional<std::string> desEcbEncrypt(std::string_view key, std::string_view plain) {
    return runCipher("DES-ECB", true, desKey(key), {}, plain);
}

std::optional<std::string> desEcbDecrypt(std::string_view key, std::string_view cipher) {
    return runCipher("DES-ECB", false, desKey(key), {}, cipher);
}

std::optional<std::string> aes128CbcEncrypt(std::string_view key16, std::string_view iv16,
                                            std::string_view plain) {
    if (key16.size() != 16 || iv16.size() != 16)
        return std::nullopt;
    return runCipher("AES-128-CBC", true, key16, iv16, plain);
}

std::optional<std::string> aes128CbcDecrypt(std::string_view key16, std::string_view iv16,
                                            std::string_view cipher) {
    if (key16.size() != 16 || iv16.size() != 16)
        return std::nullopt;
    return runCipher("AES-128-CBC", false, key16, iv16, cipher);
}

std::optional<std::string> aes128CbcEncryptBlocks(std::string_view key16, std::string_view iv16,
                                                  std::string_view plain) {
    if (key16.size() != 16 || iv16.size() != 16 || plain.size() % 16 != 0)
        return std::nullopt;
    return runCipher("AES-128-CBC", true, key16, iv16, plain, false);
}

std::optional<std::string> aes128CbcDecryptBlocks(std::string_view key16, std::string_view iv16,
                                                  std::string_view cipher) {
    if (key16.size() != 16 || iv16.size() != 16 || cipher.size() % 16 != 0)
        return std::nullopt;
    return runCipher("AES-128-CBC", false, key16, iv16, cipher, false);
}

}  // namespace platform
