// The resources of a PE image: read from any bytes, then updated as crv-pack changes the icon. A
// rebuilt image either is refused with EPeError or reads back with exactly the resources it was given.
#include <algorithm>
#include <optional>
#include <tuple>
#include <vector>

#include "FuzzTarget.h"
#include "shared/PeResources.h"

using namespace Corvane::Shared;

namespace {

using TKey = std::tuple<TResId, TResId, std::uint16_t, TPeBytes>;

std::vector<TKey> Sorted(const TPeImage& image) {
    std::vector<TKey> keys;
    for (const TResource& r : image.Resources())
        keys.emplace_back(r.Type, r.Name, r.Language, r.Data.value_or(TPeBytes{}));
    std::sort(keys.begin(), keys.end(), [](const TKey& a, const TKey& b) {
        if (!(std::get<0>(a) == std::get<0>(b))) return std::get<0>(a) < std::get<0>(b);
        if (!(std::get<1>(a) == std::get<1>(b))) return std::get<1>(a) < std::get<1>(b);
        return std::tie(std::get<2>(a), std::get<3>(a)) < std::tie(std::get<2>(b), std::get<3>(b));
    });
    return keys;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::optional<TPeImage> image;
    try {
        image.emplace(TPeImage::FromBytes(TPeBytes(data, data + size)));
    } catch (const EPeError&) {
        return 0;
    }
    // Lookups scan the list: a few of them, so that a large directory does not make the run quadratic.
    for (std::size_t i = 0; i < image->Resources().size() && i < 16; ++i) {
        const TResource& r = image->Resources()[i];
        Fuzz::Check(image->FindAnyLanguage(r.Type, r.Name) != nullptr, "a listed resource is found");
    }

    const TResId mainIcon(u"MAINICON");
    const std::uint16_t language = image->Languages(kRtGroupIcon, mainIcon).empty()
                                       ? kLangNeutral
                                       : image->Languages(kRtGroupIcon, mainIcon).front();
    image->Set(kRtGroupIcon, mainIcon, language,
               TPeBytes{0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0, 4, 0, 0, 0, 7, 0});
    image->Set(kRtIcon, 7, language, TPeBytes{1, 2, 3, 4});
    image->Remove(kRtVersion, 1, kLangEnglishUs);
    const bool complete = std::all_of(image->Resources().begin(), image->Resources().end(),
                                      [](const TResource& r) { return r.Data.has_value(); });
    TPeBytes built;
    try {
        built = image->Build();
    } catch (const EPeError&) {
        return 0;
    }
    Fuzz::Check(complete, "an image with unreadable resources is not rebuilt");
    std::optional<TPeImage> again;
    try {
        again.emplace(TPeImage::FromBytes(built));
    } catch (const EPeError&) {
        Fuzz::Check(false, "a rebuilt image reads again");
    }
    Fuzz::Check(Sorted(*again) == Sorted(*image), "a rebuilt image has the resources it was given");
    Fuzz::Check(again->Is64() == image->Is64(), "a rebuilt image keeps its kind");
    return 0;
}
