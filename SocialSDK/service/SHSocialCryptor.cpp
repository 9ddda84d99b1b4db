#include "SocialSDK/service/SHSocialCryptor.h"

#include "SocialSDK/base/SHSocialProtocolData.h"
#include "SocialSDK/service/SHSDataManagerSet.h"
#include "platform/foundation/Crypto.h"

SHSocialCryptor::SHSocialCryptor() {
    updateKey(SHSDataManagerSet::shareInstance().appkey().value_or(""));
}

SHSocialCryptor::SHSocialCryptor(std::string_view appKey) {
    updateKey(appKey);
}

void SHSocialCryptor::updateAESKey(std::string_view appKey) {
    sharedInstance().updateKey(appKey);
}

std::optional<std::string> SHSocialCryptor::AES128Encrypt(std::string_view text) {
    return sharedInstance().encrypt(text);
}

std::optional<std::string> SHSocialCryptor::AES128Decrypt(std::string_view base64) {
    return sharedInstance().decrypt(base64);
}

void SHSocialCryptor::updateKey(std::string_view appKey) {
    m_key = SHSocialProtocolData::md5Value(appKey).substr(0, 16);
}

std::optional<std::string> SHSocialCryptor::encrypt(std::string_view text) const {
    std::string padded(text);
    padded.resize((text.size() / 16 + 1) * 16, '\0');
    const auto cipher = platform::aes128CbcEncryptBlocks(m_key, kInitialisationVector, padded);
    if (!cipher)
        return std::nullopt;
    return platform::base64Encode(*cipher);
}

std::optional<std::string> SHSocialCryptor::decrypt(std::string_view base64) const {
    const auto cipher = platform::base64Decode(base64);
    if (!cipher)
        return std::nullopt;
    return platform::aes128CbcDecryptBlocks(m_key, kInitialisationVector, *cipher);
}
