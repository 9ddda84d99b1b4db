#pragma once

#include <functional>
#include <vector>

#include "platform/devices/Contact.h"
#include "platform/devices/ContactStore.h"
#include "platform/devices/DeviceError.h"

namespace platform {

enum class ContactsAuthorization { NotDetermined, Restricted, Denied, Authorized };

// Codes of DeviceError with the domain "contacts".
enum class ContactsErrorCode { NotAuthorized = 1, WriteFailed = 2 };

// The phone's address book: the contacts of ContactStore behind the device's contacts
// authorisation. The authorisation is one per device (process-wide); tests and the front end
// set it, and set how a user would answer the access prompt. Main thread only.
class AddressBook {
public:
    static ContactsAuthorization authorizationStatus();
    static void setAuthorizationStatus(ContactsAuthorization status);
    // The user's answer to the access prompt shown while the status is not determined;
    // granting by default.
    static void setAccessRequestAnswer(bool grant);
    // Not determined, granting when asked.
    static void resetDevice();

    explicit AddressBook(ContactStore store = {}) : m_store(std::move(store)) {}

    // Asks for access. The completion runs later on the main run loop, never inside the call:
    // granted when authorised; when not determined the prompt's answer is taken (and kept as
    // the status); false when denied or restricted.
    void requestAccess(std::function<void(bool granted)> completion) const;

    // Every contact when authorised; otherwise none, and `error` says why.
    std::vector<Contact> allContacts(DeviceError* error = nullptr) const;

    // Saves a new person (its identifier is filled in). False, with `error`, when access has
    // not been granted or the file could not be written.
    bool addContact(Contact& contact, DeviceError* error = nullptr) const;

    const ContactStore& store() const { return m_store; }

private:
    ContactStore m_store;
};

}  // namespace platform
