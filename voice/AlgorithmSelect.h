// The algorithm selector: a modal window that shows the 88 algorithms as pictures in a scrolling
// grid of four columns. A person picks one by clicking its picture, typing its number or stepping
// with the keys in the number box; the chosen picture wears a red frame and is scrolled into
// view. OK hands the number back through the SelectedAlgorithm it was given; Cancel, Esc and the
// close box leave that as it was. The window sends nothing and changes no parameter data.
#pragma once

#include "ui/UI.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

// The picture of algorithm n (1..88); nullptr when there is none.
using TAlgorithmPictureSource = std::function<const TBitmap*(int algorithm)>;

class TAlgorithmSelectForm : public TForm {
public:
    // `selectedAlgorithm` is shown highlighted and receives the choice on OK; the glyphs of the
    // buttons come from graphics/ below `programFolder`.
    TAlgorithmSelectForm(TComponent* AOwner, TAlgorithmPictureSource pictures, int32_t& selectedAlgorithm,
                         const std::filesystem::path& programFolder);

    // Creates the window, shows it modally and frees it.
    static void Run(TComponent* AOwner, const TAlgorithmPictureSource& pictures, int32_t& selectedAlgorithm,
                    const std::filesystem::path& programFolder);

    // Picture n (1..88) stands at column (n-1) mod 4 and row (n-1) div 4 of the grid.
    static constexpr int AlgorithmCount = 88;
    static constexpr int GridColumns = 4;
    static constexpr int PictureWidth = 150, PictureHeight = 90;
    // The grid's pitch and margin, and one page of the scroll box: four rows.
    static constexpr int ColumnPitch = 156, RowPitch = 96, GridMargin = 5;
    static constexpr int PageHeight = 4 * RowPitch;
    // One wheel notch.
    static constexpr int WheelStep = 48;

    TLabel* AlgSelectLabel1 = nullptr;
    TScrollBox* AlgSelectScrollBox = nullptr;
    std::array<TImage*, AlgorithmCount> Image{}; // Image[n - 1] is the control named "Image" + n
    TLabel* AlgSelectLabel2 = nullptr;
    TEdit* AlgSelectEdit = nullptr;
    TBitBtn* AlgSelectCancelBitBtn = nullptr;
    TBitBtn* AlgSelectOKBitBtn = nullptr;

    // Entry n-1: the plain picture of algorithm n, and the same with the red frame.
    std::vector<TBitmap> AlgorithmBitmaps;
    std::vector<TBitmap> FramedAlgorithmBitmaps;
    // The picture that shows its framed copy, 1..88; 0 for none.
    int32_t HighlightedAlgorithm = 0;

    void FormShow(TObject* Sender);
    void ArrangeAlgorithmImages();
    void AlgSelectEditChange(TObject* Sender);
    void AlgSelectEditKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
    // The click handlers Image1Click .. Image88Click, one family: picture n's number into the box.
    void ImageClick(int n);
    void FormMouseWheelDown(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled);
    void FormMouseWheelUp(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled);
    void AlgSelectOKBitBtnClick(TObject* Sender);
    void AlgSelectCancelBitBtnClick(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);

private:
    void CreateControls(const std::filesystem::path& programFolder);
    TAlgorithmPictureSource FPictures;
    int32_t& FSelectedAlgorithm;
};
