#include "platform/foundation/Crypto.h"

#include <openssl/evp.h>
#include <openssl/provider.h>
#include <openssl/rand.h>

#include <memory>
#include <mutex>
#include <random>
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
struct CipherDeleter {
    void operator()(EVP_CIPHER* cipher) const { EVP_CIPHER_free(cipher); }
};
struct EncodeContextDeleter {
    void operator()(EVP_ENCODE_CTX* ctx) const { EVP_ENCODE_CTX_free(ctx); }
};

const unsigned char* bytesOf(std::string_view text) {
    return reinterpret_cast<const unsigned char*>(text.data());
}

std::optional<std::string> runCipher(const char* name, bool encrypt, std::string_view key,
                                     std::string_view iv, std::string_view input) {
    loadProviders();
    std::unique_ptr<EVP_CIPHER, CipherDeleter> cipher(EVP_CIPHER_fetch(nullptr, name, nullptr));
    std::unique_ptr<EVP_CIPHER_CTX, CipherContextDeleter> ctx(EVP_CIPHER_CTX_new());
    if (!cipher || !ctx)
        return std::nullopt;
    if (EVP_CipherInit_ex2(ctx.get(), cipher.get(), bytesOf(key),
                           iv.empty() ? nullptr : bytesOf(iv), encrypt ? 1 : 0, nullptr) != 1)
        return std::nullopt;
    std::string out(input.size() + static_cast<size_t>(EVP_CIPHER_get_block_size(cipher.get())),
                    '\0');
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
    // OpenSSL's decoder stops quietly at some characters ("-" among them) and would ignore
    // whatever follows; only the alphabet, padding and white space are Base64 text.
    for (char c : text) {
        bool allowed = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       c == '+' || c == '/' || c == '=' || c == ' ' || c == '\t' || c == '\r' ||
                       c == '\n';
        if (!allowed)
            return std::nullopt;
    }
    std::unique_ptr<EVP_ENCODE_CTX, EncodeContextDeleter> ctx(EVP_ENCODE_CTX_new());
    if (!ctx)
        return std::nullopt;
    EVP_DecodeInit(ctx.get());
    std::string out(text.size() / 4 * 3 + 3, '\0');
    int length = 0;
    int finalLength = 0;
    auto* buffer = reinterpret_cast<unsigned char*>(out.data());
    if (EVP_DecodeUpdate(ctx.get(), buffer, &length, bytesOf(text), static_cast<int>(text.size())) <
            0 ||
        EVP_DecodeFinal(ctx.get(), buffer + length, &finalLength) != 1)
        return std::nullopt;
    out.resize(static_cast<size_t>(length + finalLength));
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

}  // namespace platform
