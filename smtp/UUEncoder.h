// TUUProcessor: encodes a stream as base64 (uuMime) or uuencode (uuCode) lines
// of 45 input bytes each, every line ended by CR LF.
#pragma once

#include "ui/Classes.h"

#include <cstdint>

enum UUMethods { uuMime, uuCode };

class TUUProcessor : public TObject {
public:
    explicit TUUProcessor(TObject* owner = nullptr) : owner_(owner) {}

    // Reads the whole input from its start and appends the lines to the output,
    // which is left at position 0.
    void Encode();

    // Size of the output of Encode for an input of `size` bytes.
    static uint64_t EncodedSize(UUMethods method, uint64_t size);

    TObject* Owner() const { return owner_; }

    UUMethods Method = uuMime;
    TStream* InputStream = nullptr;
    TStream* OutputStream = nullptr;

    TNotifyEvent OnBeginEncode;
    TNotifyEvent OnEndEncode;
    // Declared for symmetry; there is no decoding.
    TNotifyEvent OnBeginDecode;
    TNotifyEvent OnEndDecode;

private:
    TObject* owner_;
};
