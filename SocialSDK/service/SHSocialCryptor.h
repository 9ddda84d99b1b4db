#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "SocialSDK/service/SHSSharedInstance.h"

// The share service's envelope cipher: AES-128 in CBC mode over the text padded with zero
// bytes (at least one, so a whole block gains a block), a fixed initialisation vector, the key
// the first 16 characters of the upper-case MD5 of the application key, and Base64 around
// the cipher text. The key is built at run time and never stored.
class SHSocialCryptor {
public:
    static constexpr std::string_view kInitialisationVector = "qtlaw.k4/Ry+H961";

    // With the key of the given application key.
    explicit SHSocialCryptor(std::string_view appKey);

    // The shared cipher, keyed at first use with the application key of SHSDataManagerSet.
    static SHSocialCryptor& sharedInstance() { return SHSSharedInstance<SHSocialCryptor>::get(); }
    static void resetSharedInstance() { SHSSharedInstance<SHSocialCryptor>::reset(); }

    // The shared cipher's operations.
    static void updateAESKey(std::string_view appKey);
    static std::optional<std::string> AES128Encrypt(std::string_view text);
    static std::optional<std::string> AES128Decrypt(std::string_view base64);

    void updateKey(std::string_view appKey);
    // Base64 of the cipher text; nothing when the cipher fails.
    std::optional<std::string> encrypt(std::string_view text) const;
    // The plain text, zero padding included; nothing for text that is not Base64 of whole
    // cipher blocks.
    std::optional<std::string> decrypt(std::string_view base64) const;

private:
    friend class SHSSharedInstance<SHSocialCryptor>;
    SHSocialCryptor();

    std::string m_key;  // 16 bytes
};
