#include "location/Gcj02EncryptState.h"

Gcj02EncryptState& Gcj02EncryptState::shared() {
    static Gcj02EncryptState state;
    return state;
}
