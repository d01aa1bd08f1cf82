// Configuration records for tests: a fresh pair, and a filler that gives every
// member (spares included) values from the generators a test chooses.
#pragma once

#include "Defaults.h"
#include "Members.h"
#include "PanelConfig.h"

#include <functional>
#include <memory>

namespace t2::fixtures {

struct Records {
    PanelConfig config;
    VantelDevices devices;
};

inline std::unique_ptr<Records> FreshRecords()
{
    auto r = std::make_unique<Records>();
    ResetConfiguration(r->config, r->devices);
    return r;
}

struct MemberFiller {
    std::function<Integer()> integer;
    std::function<Long()> longValue;
    std::function<Bytes()> bytes;

    void Fill(Integer& v) { v = integer(); }
    void Fill(Long& v) { v = longValue(); }
    void Fill(Bytes& s) { s = bytes(); }
    template <typename T, std::size_t N>
    void Fill(std::array<T, N>& a)
    {
        for (T& e : a) Fill(e);
    }
    template <typename T, std::size_t A, std::size_t B>
    void Fill(Array2<T, A, B>& a)
    {
        Fill(a.data);
    }
    template <typename T>
    void operator()(const char*, T& m)
    {
        Fill(m);
    }

    void FillAll(Records& r)
    {
        VisitPanelConfig(r.config, *this);
        for (VantelDevice& d : r.devices) VisitVantelDevice(d, *this);
    }
};

}  // namespace t2::fixtures
