#include "SplashElements.h"

namespace {

constexpr Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
constexpr bool autoSize = true;
constexpr bool fixed = false;
constexpr bool closes = true;
constexpr bool stays = false;

} // namespace

const std::vector<SplashElement> &splashElements()
{
    using K = SplashKind;
    static const std::vector<SplashElement> elements = {
        {"imgLogo", K::Picture, nullptr, 240, 870, 1815, 2385, {}, left, fixed, closes},
        {"lblCompanyProduct", K::Label, "QUORVANE", 2355, 525, 4560, 435,
         {"Arial", 18, true}, left, autoSize, closes},
        {"Label1", K::Label, "Quorvane Ltd, 12 Reel Street, Leeds LS1 4AP", 2355, 990, 3795, 195,
         {}, left, fixed, stays},
        {"Label2", K::Label, "quorvane.example", 2355, 1260, 1635, 195, {}, left, fixed, stays},
        {"Label3", K::Label, "tc@quorvane.example", 4320, 1260, 1725, 195, {}, right, fixed, stays},
        {"lblProductName", K::Label, "Ostrel", 2385, 1545, 4380, 765,
         {"Arial", 32.25, true}, left, autoSize, closes},
        {"lblPlatform", K::Label, "Platform - Windows 95/NT", 2880, 2340, 3885, 360,
         {"Arial", 15.75, true}, right, autoSize, closes},
        {"lblVersion", K::Label, "Version 1.0", 5490, 2700, 1275, 285,
         {"Arial", 12, true}, right, autoSize, stays},
        {"lblCompany", K::Label, "Copyright (C) 2026 Quorvane Ltd. All rights reserved.", 2355, 3285,
         4395, 255, {"Arial", 8.25, false}, left, fixed, closes},
    };
    return elements;
}
