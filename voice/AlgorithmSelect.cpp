#include "voice/AlgorithmSelect.h"

#include <algorithm>
#include <string>

namespace {

// The number a text of digits stands for, kept below 1000 (the box holds two digits; a longer
// text only has to read as too large); -1 for an empty text or one with anything but digits.
int DigitsValue(const std::string& text)
{
    if (text.empty()) return -1;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return -1;
        value = std::min(value * 10 + (c - '0'), 999);
    }
    return value;
}

} // namespace

TAlgorithmSelectForm::TAlgorithmSelectForm(TComponent* AOwner, TAlgorithmPictureSource pictures,
                                           int32_t& selectedAlgorithm, const std::filesystem::path& programFolder)
    : TForm(AOwner), FPictures(std::move(pictures)), FSelectedAlgorithm(selectedAlgorithm)
{
    CreateControls(programFolder);
    AlgorithmBitmaps.resize(AlgorithmCount);
    FramedAlgorithmBitmaps.resize(AlgorithmCount);
    for (TBitmap& framed : FramedAlgorithmBitmaps) framed.Canvas.Brush.Color = clRed;
    OnShow = [this](TObject* s) { FormShow(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    OnMouseWheelDown = [this](TObject* s, TShiftState sh, TPoint p, bool& h) { FormMouseWheelDown(s, sh, p, h); };
    OnMouseWheelUp = [this](TObject* s, TShiftState sh, TPoint p, bool& h) { FormMouseWheelUp(s, sh, p, h); };
    DoCreate();
}

void TAlgorithmSelectForm::Run(TComponent* AOwner, const TAlgorithmPictureSource& pictures, int32_t& selectedAlgorithm,
                               const std::filesystem::path& programFolder)
{
    TAlgorithmSelectForm window(AOwner, pictures, selectedAlgorithm, programFolder);
    window.ShowModal();
}

void TAlgorithmSelectForm::CreateControls(const std::filesystem::path& programFolder)
{
    Name = "AlgorithmSelectForm";
    SetCaption("Algorithm Select");
    BorderStyle = bsSingle;
    BorderIcons = biSystemMenu;
    Position = poMainFormCenter;
    Font.Name = "Tahoma";
    SetClientSize(667, 454);

    auto make = [this]<class T>(T* c, const std::string& name, TWinControl* parent, int left, int top, int width,
                                int height) {
        c->Name = name;
        c->SetParent(parent);
        c->SetBounds(left, top, width, height);
        return c;
    };
    auto boldLabel = [&](const char* name, const char* caption, int top) {
        auto* l = make(new TLabel(this), name, this, 8, top, 0, 16);
        l->SetCaption(caption);
        l->Font.Style = fsBold;
        l->Font.Size = 10; // 13 pixels
        return l;
    };

    AlgSelectLabel1 = boldLabel("AlgSelectLabel1", "Please select algorithm and push OK button", 4);

    AlgSelectScrollBox = make(new TScrollBox(this), "AlgSelectScrollBox", this, 8, 25, 651, 392);
    AlgSelectScrollBox->Color = clWhite;
    AlgSelectScrollBox->HorzScrollBar.Visible = false;
    AlgSelectScrollBox->VertScrollBar.Smooth = true;
    AlgSelectScrollBox->VertScrollBar.Tracking = true;
    // The grid keeps the same margin below its last row as above its first.
    AlgSelectScrollBox->VertScrollBar.Margin = GridMargin;
    for (int n = 1; n <= AlgorithmCount; ++n) {
        const int column = (n - 1) % GridColumns, row = (n - 1) / GridColumns;
        TImage* image =
            make(new TImage(this), "Image" + std::to_string(n), AlgSelectScrollBox, GridMargin + ColumnPitch * column,
                 GridMargin + RowPitch * row, PictureWidth, PictureHeight);
        image->Stretch = true;
        image->Proportional = true;
        image->OnClick = [this, n](TObject*) { ImageClick(n); };
        Image[size_t(n - 1)] = image;
    }

    AlgSelectLabel2 = boldLabel("AlgSelectLabel2", "Selected algorithm number is", 428);

    // The bold label is wider in the fonts that stand in for Tahoma here (about 220 pixels): the
    // box stands clear of it.
    AlgSelectEdit = make(new TEdit(this), "AlgSelectEdit", this, 234, 426, 23, 21);
    AlgSelectEdit->Font.Style = fsBold;
    AlgSelectEdit->MaxLength = 2;
    AlgSelectEdit->OnChange = [this](TObject* s) { AlgSelectEditChange(s); };
    AlgSelectEdit->OnKeyDown = [this](TObject* s, uint16_t& key, TShiftState shift) {
        AlgSelectEditKeyDown(s, key, shift);
    };

    auto button = [&](const char* name, TBitBtnKind kind, int left, const char* glyph,
                      void (TAlgorithmSelectForm::*handler)(TObject*)) {
        auto* b = make(new TBitBtn(this), name, this, left, 423, 75, 25);
        b->SetKind(kind);
        b->SetTabStop(false);
        b->LoadGlyph((programFolder / "graphics" / glyph).string());
        b->OnClick = [this, handler](TObject* s) { (this->*handler)(s); };
        return b;
    };
    AlgSelectCancelBitBtn = button("AlgSelectCancelBitBtn", bkCancel, 487, "glyph_cancel.bmp",
                                   &TAlgorithmSelectForm::AlgSelectCancelBitBtnClick);
    AlgSelectOKBitBtn =
        button("AlgSelectOKBitBtn", bkOK, 568, "glyph_ok.bmp", &TAlgorithmSelectForm::AlgSelectOKBitBtnClick);
}

void TAlgorithmSelectForm::FormShow(TObject*)
{
    ArrangeAlgorithmImages();
    HighlightedAlgorithm = FSelectedAlgorithm;
    AlgSelectEdit->SetText(IntToStr(FSelectedAlgorithm));
    AlgSelectEdit->SetFocus();
}

void TAlgorithmSelectForm::ArrangeAlgorithmImages()
{
    // Shown again after a close, the window makes its bitmaps anew.
    if (AlgorithmBitmaps.size() != size_t(AlgorithmCount)) {
        AlgorithmBitmaps.assign(AlgorithmCount, TBitmap());
        FramedAlgorithmBitmaps.assign(AlgorithmCount, TBitmap());
        for (TBitmap& framed : FramedAlgorithmBitmaps) framed.Canvas.Brush.Color = clRed;
    }
    for (int n = 1; n <= AlgorithmCount; ++n) {
        const TBitmap* picture = FPictures ? FPictures(n) : nullptr;
        const TBitmap none;
        AlgorithmBitmaps[size_t(n - 1)] = picture ? *picture : none;
        FramedAlgorithmBitmaps[size_t(n - 1)] = picture ? *picture : none;
    }
    // Three frames, one pixel each: the outermost, and two just inside it.
    for (int n = 1; n <= AlgorithmCount; ++n) {
        const int w = AlgorithmBitmaps[size_t(n - 1)].Width(), h = AlgorithmBitmaps[size_t(n - 1)].Height();
        TCanvas& canvas = FramedAlgorithmBitmaps[size_t(n - 1)].Canvas;
        canvas.FrameRect(TRect{0, 0, w, h});
        canvas.FrameRect(TRect{2, 2, w - 1, h - 2});
        canvas.FrameRect(TRect{3, 3, w - 3, h - 3});
    }
    for (int n = 1; n <= AlgorithmCount; ++n) Image[size_t(n - 1)]->Picture.Assign(&AlgorithmBitmaps[size_t(n - 1)]);
}

void TAlgorithmSelectForm::AlgSelectEditChange(TObject*)
{
    // A text that is no algorithm number is replaced and selected, so that the next digit typed
    // replaces it; the replacement runs this handler again, which does the rest.
    const int typed = DigitsValue(AlgSelectEdit->Text());
    const char* corrected = typed < 1 ? "1" : typed > AlgorithmCount ? "88" : nullptr;
    if (corrected) {
        AlgSelectEdit->SetText(corrected);
        AlgSelectEdit->SetSelStart(0);
        AlgSelectEdit->SetSelLength(int(std::char_traits<char>::length(corrected)));
        return;
    }

    // Only prepared bitmaps change hands: the old picture gets its plain copy, the new its framed.
    const bool prepared = AlgorithmBitmaps.size() == size_t(AlgorithmCount);
    if (prepared && HighlightedAlgorithm >= 1 && HighlightedAlgorithm <= AlgorithmCount)
        Image[size_t(HighlightedAlgorithm - 1)]->Picture.Assign(&AlgorithmBitmaps[size_t(HighlightedAlgorithm - 1)]);
    const int n = typed;
    if (prepared) Image[size_t(n - 1)]->Picture.Assign(&FramedAlgorithmBitmaps[size_t(n - 1)]);
    // The page of four rows that holds the picture; the last rows show at the end of the grid.
    AlgSelectScrollBox->VertScrollBar.SetPosition((n - 1) / (4 * GridColumns) * PageHeight);
    HighlightedAlgorithm = n;
}

void TAlgorithmSelectForm::AlgSelectEditKeyDown(TObject*, uint16_t& Key, TShiftState)
{
    // The number is written as it comes out; the change handler brings it into 1..88.
    const int m = DigitsValue(AlgSelectEdit->Text());
    int to;
    switch (Key) {
    case VK_PRIOR: to = m + 10; break;
    case VK_NEXT: to = m < 10 ? 1 : m - 10; break;
    case VK_LEFT: to = m - 1; break;
    case VK_RIGHT: to = m + 1; break;
    case VK_UP: to = m - GridColumns; break;
    case VK_DOWN: to = m + GridColumns; break;
    default: return;
    }
    AlgSelectEdit->SetText(IntToStr(to));
}

void TAlgorithmSelectForm::ImageClick(int n) { AlgSelectEdit->SetText(IntToStr(n)); }

void TAlgorithmSelectForm::FormMouseWheelDown(TObject*, TShiftState, TPoint, bool&)
{
    TControlScrollBar& bar = AlgSelectScrollBox->VertScrollBar;
    bar.SetPosition(bar.Position() + WheelStep);
}

void TAlgorithmSelectForm::FormMouseWheelUp(TObject*, TShiftState, TPoint, bool&)
{
    TControlScrollBar& bar = AlgSelectScrollBox->VertScrollBar;
    bar.SetPosition(bar.Position() - WheelStep);
}

void TAlgorithmSelectForm::AlgSelectOKBitBtnClick(TObject*)
{
    // The box holds 1..88 once the window has been shown; its button's modal result ends the
    // window.
    const int n = DigitsValue(AlgSelectEdit->Text());
    if (n >= 1 && n <= AlgorithmCount) FSelectedAlgorithm = n;
}

void TAlgorithmSelectForm::AlgSelectCancelBitBtnClick(TObject*) { SetModalResult(mrCancel); }

void TAlgorithmSelectForm::FormClose(TObject*, TCloseAction&)
{
    // The pictures keep their own copies.
    AlgorithmBitmaps.clear();
    AlgorithmBitmaps.shrink_to_fit();
    FramedAlgorithmBitmaps.clear();
    FramedAlgorithmBitmaps.shrink_to_fit();
}
