// Radio group, image, bevel, shape and timer.
//
// Rules kept here:
// - TRadioGroup: setting ItemIndex runs OnClick when the index changes; an equal index or edits
//   of the items fire nothing. An index past the end selects the last item, below 0 selects none
//   (-1); items removed below the selection clamp it the same way, silently. A person's click on
//   an item (UserClicks(i)) selects it and runs OnClick when it changed.
// - TImage: Picture holds the shown bitmap; Canvas() draws into it (making a bitmap of the image's
//   size first when the picture is empty); every change is shown.
// - TTimer: OnTimer every Interval ms while Enabled (Interval 0 never ticks), on the UI thread.
//   The first tick comes one Interval after enabling. Enabled going from false to true, or a new
//   Interval while enabled, restarts the count; setting Enabled to true when it is already true
//   does not. Tag is free for a step counter.
#pragma once

#include "ui/Controls.h"
#include "ui/Graphics.h"

class TRadioGroup : public TWinControl {
public:
    explicit TRadioGroup(TComponent* AOwner);
    TStrings Items;

    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int i);
    int Columns() const { return FColumns; }
    void SetColumns(int c);

    // A person clicks item i.
    bool UserClicks(int i);
    using TWinControl::UserClicks;

protected:
    bool DefaultKeyDown(uint16_t Key, TShiftState Shift) override;

private:
    int FItemIndex = -1;
    int FColumns = 1;
};

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* AOwner);
    TPicture Picture;
    bool Stretch = false;
    bool Center = false;
    bool Proportional = false;
    bool Transparent = false;
    bool AutoSize = false;

    TCanvas& Canvas();
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
public:
    explicit TBevel(TComponent* AOwner);
    TBevelShape Shape = bsBox;
    TBevelStyle Style = bsLowered;
};

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

class TShape : public TGraphicControl {
public:
    explicit TShape(TComponent* AOwner);
    TShapeType Shape = stRectangle;
    TPen Pen;
    TBrush Brush;
};

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned ms);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    TNotifyEvent OnTimer;

    // Runs OnTimer once (the application calls it when the timer is due).
    void Tick();

private:
    unsigned FInterval = 1000;
    bool FEnabled = true;
};
