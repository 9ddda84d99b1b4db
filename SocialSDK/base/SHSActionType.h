#pragma once

// The share service's action numbers: every exchange with the service is one of them. A
// job's actionType and a response entity's responseType carry it.
enum SHSActionType : int {
    SHSActionTypeAddComment = 0,
    SHSActionTypeLike = 1,
    SHSActionTypeGetComments = 2,
    SHSActionTypeGetBar = 3,
    SHSActionTypeShare = 4,
    SHSActionTypeShareMulti = 5,
    SHSActionTypeBinding = 6,
    SHSActionTypeUnbinding = 7,
    SHSActionTypeDeleteAuth = 8,
    SHSActionTypeAuthPage = 9,
    SHSActionTypeGetAccounts = 10,
    SHSActionTypeGetSnsProfile = 11,
    SHSActionTypeGetFriends = 12,
    SHSActionTypeFollow = 13,
    SHSActionTypeCustomAccount = 14,
    SHSActionTypePostToken = 15,
    SHSActionTypeGetAppInfo = 16,
    SHSActionTypeValidateToken = 17,
    SHSActionTypePostOpAnalytics = 18,
    SHSActionTypePostAppInfo = 19,
};

// How a job goes on the wire.
enum SHSNetworkType : int {
    SHSNetworkTypeFormPost = 0,
    SHSNetworkTypeGet = 1,
    SHSNetworkTypeMultipartPost = 2,
    SHSNetworkTypeNotSent = 3,
};
