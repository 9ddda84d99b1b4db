#include "platform/devices/AddressBook.h"

#include "platform/foundation/RunLoop.h"

namespace platform {

namespace {

struct ContactsDevice {
    ContactsAuthorization status = ContactsAuthorization::NotDetermined;
    bool grantWhenAsked = true;
};

ContactsDevice& device() {
    static ContactsDevice state;
    return state;
}

void setError(DeviceError* error, ContactsErrorCode code, std::string description) {
    if (error) {
        *error = DeviceError{"contacts", static_cast<int>(code), std::move(description)};
    }
}

bool refuseUnlessAuthorized(DeviceError* error) {
    if (AddressBook::authorizationStatus() == ContactsAuthorization::Authorized) {
        return false;
    }
    setError(error, ContactsErrorCode::NotAuthorized, "access to the contacts is not granted");
    return true;
}

}  // namespace

ContactsAuthorization AddressBook::authorizationStatus() {
    return device().status;
}

void AddressBook::setAuthorizationStatus(ContactsAuthorization status) {
    device().status = status;
}

void AddressBook::setAccessRequestAnswer(bool grant) {
    device().grantWhenAsked = grant;
}

void AddressBook::resetDevice() {
    device() = ContactsDevice{};
}

void AddressBook::requestAccess(std::function<void(bool granted)> completion) const {
    // The prompt is answered later, as a person would; the status is read when it is.
    RunLoop::main().post([completion = std::move(completion)] {
        auto& state = device();
        if (state.status == ContactsAuthorization::NotDetermined) {
            state.status = state.grantWhenAsked ? ContactsAuthorization::Authorized
                                                : ContactsAuthorization::Denied;
        }
        if (completion) {
            completion(state.status == ContactsAuthorization::Authorized);
        }
    });
}

std::vector<Contact> AddressBook::allContacts(DeviceError* error) const {
    if (refuseUnlessAuthorized(error)) {
        return {};
    }
    return m_store.loadAll();
}

bool AddressBook::addContact(Contact& contact, DeviceError* error) const {
    if (refuseUnlessAuthorized(error)) {
        return false;
    }
    std::string reason;
    if (!m_store.add(contact, &reason)) {
        setError(error, ContactsErrorCode::WriteFailed, reason);
        return false;
    }
    return true;
}

}  // namespace platform
