// Typed data vectors in global-memory blocks.
#include "foundation/datavec.h"
#include "plat/memory.h"
#include <cmath>
#include <limits>

using namespace plat;

namespace {

int32_t element_size(int32_t type)
{
    switch (type) {
    case DV_LONG:
    case DV_FLOAT:
        return 4;
    case DV_DOUBLE:
        return 8;
    default:
        return 0;
    }
}

double read_element(const void* data, int32_t type, int32_t i)
{
    switch (type) {
    case DV_LONG:
        return static_cast<const int32_t*>(data)[i];
    case DV_FLOAT:
        return static_cast<const float*>(data)[i];
    default:
        return static_cast<const double*>(data)[i];
    }
}

int32_t to_long(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= 2147483647.0)
        return INT32_MAX;
    if (v <= -2147483648.0)
        return INT32_MIN;
    return static_cast<int32_t>(v);  // toward zero
}

float to_float(double v)
{
    constexpr double kMax = std::numeric_limits<float>::max();
    if (std::isnan(v) || std::isinf(v))
        return static_cast<float>(v);
    if (v > kMax)
        return std::numeric_limits<float>::infinity();
    if (v < -kMax)
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(v);
}

void write_element(void* data, int32_t type, int32_t i, double v)
{
    switch (type) {
    case DV_LONG:
        static_cast<int32_t*>(data)[i] = to_long(v);
        break;
    case DV_FLOAT:
        static_cast<float*>(data)[i] = to_float(v);
        break;
    default:
        static_cast<double*>(data)[i] = v;
        break;
    }
}

} // namespace

int32_t data_vector_bytes(int32_t type, int32_t count)
{
    const int64_t bytes = static_cast<int64_t>(element_size(type)) * count;
    return bytes < 0 || bytes > INT32_MAX ? 0 : static_cast<int32_t>(bytes);
}

HGLOBAL data_vector_create(int32_t type, int32_t count, int zero_fill)
{
    const int32_t bytes = data_vector_bytes(type, count);
    if (bytes <= 0)
        return 0;
    const HGLOBAL header = GlobalAlloc(GHND, sizeof(DataVector));
    if (header == 0)
        return 0;
    const HGLOBAL data = GlobalAlloc(zero_fill != 0 ? GHND : GMEM_MOVEABLE, static_cast<size_t>(bytes));
    auto* v = static_cast<DataVector*>(GlobalLock(header));
    if (data == 0 || v == nullptr) {
        if (data != 0)
            GlobalFree(data);
        GlobalFree(header);
        return 0;
    }
    v->type = type;
    v->data = data;
    v->count = count;
    GlobalUnlock(header);
    return header;
}

void data_vector_free(HGLOBAL vector)
{
    auto* v = static_cast<DataVector*>(GlobalLock(vector));
    if (v == nullptr)
        return;
    const HGLOBAL data = v->data;
    GlobalUnlock(vector);
    if (data != 0)
        GlobalFree(data);
    GlobalFree(vector);
}

DataVector* data_vector_lock(HGLOBAL vector)
{
    auto* v = static_cast<DataVector*>(GlobalLock(vector));
    if (v == nullptr)
        return nullptr;
    void* data = GlobalLock(v->data);
    v->long_data = v->type == DV_LONG ? static_cast<int32_t*>(data) : nullptr;
    v->float_data = v->type == DV_FLOAT ? static_cast<float*>(data) : nullptr;
    v->double_data = v->type == DV_DOUBLE ? static_cast<double*>(data) : nullptr;
    return v;
}

void data_vector_unlock(HGLOBAL vector)
{
    auto* v = static_cast<DataVector*>(GlobalLock(vector));
    if (v == nullptr)
        return;
    v->long_data = nullptr;
    v->float_data = nullptr;
    v->double_data = nullptr;
    GlobalUnlock(v->data);
    GlobalUnlock(vector);  // this call's lock
    GlobalUnlock(vector);  // data_vector_lock's
}

int data_vector_resize(HGLOBAL vector, int32_t new_count)
{
    auto* v = static_cast<DataVector*>(GlobalLock(vector));
    if (v == nullptr)
        return 0;
    const int32_t bytes = data_vector_bytes(v->type, new_count);
    int done = 0;
    if (bytes > 0 && GlobalReAlloc(v->data, static_cast<size_t>(bytes), GMEM_MOVEABLE | GMEM_ZEROINIT) != 0) {
        v->count = new_count;
        done = 1;
    }
    GlobalUnlock(vector);
    return done;
}

int data_vector_convert(HGLOBAL vector, int32_t new_type)
{
    auto* v = static_cast<DataVector*>(GlobalLock(vector));
    if (v == nullptr)
        return 0;
    const int32_t bytes = data_vector_bytes(new_type, v->count);
    const HGLOBAL fresh = bytes > 0 ? GlobalAlloc(GHND, static_cast<size_t>(bytes)) : 0;
    const void* from = fresh != 0 ? GlobalLock(v->data) : nullptr;
    void* to = fresh != 0 ? GlobalLock(fresh) : nullptr;
    if (from == nullptr || to == nullptr) {
        if (from != nullptr)
            GlobalUnlock(v->data);
        if (fresh != 0)
            GlobalFree(fresh);
        GlobalUnlock(vector);
        return 0;
    }
    for (int32_t i = 0; i < v->count; ++i)
        write_element(to, new_type, i, read_element(from, v->type, i));
    GlobalUnlock(fresh);
    GlobalUnlock(v->data);
    GlobalFree(v->data);
    v->data = fresh;
    v->type = new_type;
    GlobalUnlock(vector);
    return 1;
}

int32_t data_vector_count(HGLOBAL vector)
{
    auto* v = static_cast<DataVector*>(GlobalLock(vector));
    if (v == nullptr)
        return 0;
    const int32_t n = v->count;
    GlobalUnlock(vector);
    return n;
}

int32_t data_vector_type(HGLOBAL vector)
{
    auto* v = static_cast<DataVector*>(GlobalLock(vector));
    if (v == nullptr)
        return -1;
    const int32_t t = v->type;
    GlobalUnlock(vector);
    return t;
}
