// Private to chartlib/src. The data vectors the sets own, seen through the
// foundation's typed vectors in global memory.
#pragma once
#include "plat/types.h"
#include <cstdint>

namespace qxi {

// 0 when the type is not 0-2, the count is below 1 or memory is short.
plat::HGLOBAL vec_create(int type, int64_t count);
void vec_free(plat::HGLOBAL v);
// A live vector of type 0-2.
bool vec_valid(plat::HGLOBAL v);
int vec_count(plat::HGLOBAL v);
int vec_type(plat::HGLOBAL v);
bool vec_resize(plat::HGLOBAL v, int64_t count);
bool vec_convert(plat::HGLOBAL v, int type);

// Elements of a locked vector; empty when the handle is not a vector.
class VecLock {
public:
    explicit VecLock(plat::HGLOBAL v);
    ~VecLock();
    VecLock(const VecLock&) = delete;
    VecLock& operator=(const VecLock&) = delete;
    explicit operator bool() const { return data_ != nullptr; }
    int type() const { return type_; }
    int count() const { return count_; }
    double get(int i) const
    {
        switch (type_) {
        case 0: return static_cast<const int32_t*>(data_)[i];
        case 1: return static_cast<const float*>(data_)[i];
        default: return static_cast<const double*>(data_)[i];
        }
    }
    // Converted by value: long toward zero and clamped, float rounded.
    void set(int i, double v);
    const void* data() const { return data_; }

private:
    plat::HGLOBAL handle_ = 0;
    void* data_ = nullptr;
    int type_ = 0;
    int count_ = 0;
};

} // namespace qxi
