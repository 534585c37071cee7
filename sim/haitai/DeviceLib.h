// Results of the HaiTai device functions (0 is success).
#pragma once

namespace haitai {

enum : int {
    HS_OK = 0,
    HS_ERR_PARAM = 0x0A000001,        // a null or malformed argument
    HS_ERR_BUFFER_SMALL = 0x0A000002, // the length is updated to what is needed
    HS_ERR_NO_READER = 0x0A000003,    // no reader of that name
    HS_ERR_NO_DEVICE = 0x0A000004,    // no token in the reader
    HS_ERR_STORE = 0x0A000005,        // the certificate store could not be opened
};

constexpr unsigned long kStatePresent = 32;  // HSGetDevState: a token is in the reader
constexpr unsigned long kStateEmpty = 0;

}  // namespace haitai
