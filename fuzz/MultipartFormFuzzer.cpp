#include "Http/MultipartForm.h"

#include <cstddef>
#include <cstdint>

// The input's first line is the request's content type, the rest its body.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype newline = input.indexOf('\n');
    const QByteArray contentType = newline < 0 ? input : input.left(newline);
    const QByteArray body = newline < 0 ? QByteArray() : input.mid(newline + 1);
    const auto form = MultipartForm::parse(body, contentType);
    // A file part's data is a slice of the body.
    if (form && form->file && !body.contains(form->file->data))
        __builtin_trap();
    return 0;
}
