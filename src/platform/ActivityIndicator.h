// An animated busy indicator: dots circling with momentum, a rotating sector, or a ring of sectors.
#pragma once

#include <memory>

#include "platform/Control.h"

namespace Platform {

enum class TActivityIndicatorType { MomentumDots, RotatingSector, SectorRing };
enum class TActivityIndicatorColor { Black, White };
// 24, 32, 48 and 64 pixels square.
enum class TActivityIndicatorSize { Small, Medium, Large, XLarge };

class TActivityIndicator : public TWinControl {
public:
    TActivityIndicator();
    ~TActivityIndicator() override;

    void SetIndicatorType(TActivityIndicatorType type);
    TActivityIndicatorType IndicatorType() const;
    void SetIndicatorColor(TActivityIndicatorColor color);
    TActivityIndicatorColor IndicatorColor() const;
    // Also gives the control that size, keeping its position.
    void SetIndicatorSize(TActivityIndicatorSize size);
    TActivityIndicatorSize IndicatorSize() const;
    // An animating indicator moves whenever it is on screen.
    void SetAnimate(bool animate);
    bool Animate() const;
    // Moves the control, keeping the size of the indicator.
    void SetPosition(int left, int top);

    static int SizeInPixels(TActivityIndicatorSize size);

protected:
    void Resized() override;

private:
    struct TIndicator;
    std::unique_ptr<TIndicator> FIndicator;
};

} // namespace Platform
