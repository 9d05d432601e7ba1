#include "imaging/BmpCodec.h"
#include "imaging/GifCodec.h"
#include "imaging/JpegCodec.h"
#include "imaging/PngCodec.h"
#include "io/ButtonData.h"
#include "render/TaboraButton.h"

namespace tabora {

namespace {


// The signed block of the GIF, JPEG and BMP containers.
void WriteSignedBlock(const TaboraButton& button, PtrMacStream& block) {
    block.WriteLong(kBlockSignature);
    button.WriteSettings(block);
}

int16_t BlockLength(const PtrMacStream& block) { return int16_t(block.Length()); }

}  // namespace

void TaboraButton::ExportPng(MacStream& out) {
    // The chunk's keyword plays the signature's part: the payload goes alone.
    PtrMacStream block;
    WriteSettings(block);
    PrepareExport();
    if (!settings_.removeBackground) {
        PngCodec::Write(canvas_, out, false, exportRect_, block.Data(), BlockLength(block));
        return;
    }
    // The layers alone, straight alpha, on transparent black.
    ArgbImage layers(kCanvasWidth, kCanvasHeight);
    ComposeLayers(layers);
    PngCodec::Write(layers, out, true, exportRect_, block.Data(), BlockLength(block));
}

bool TaboraButton::ImportPng(MacStream& in) {
    PtrMacStream block;
    if (!PngCodec::ReadData(in, block)) return false;
    return ReadSettings(block);
}

void TaboraButton::ExportGif(MacStream& out) {
    PtrMacStream block;
    WriteSignedBlock(*this, block);
    PrepareExport();
    // Alpha from the layers alone marks exactly the pixels no layer touches;
    // the colours are the preview's, background blended into soft edges.
    ArgbImage merged(kCanvasWidth, kCanvasHeight);
    ComposeLayers(merged);
    uint32_t* pixels = merged.Pixels();
    const uint32_t* shown = canvas_.Pixels();
    const size_t count = size_t(kCanvasWidth) * kCanvasHeight;
    for (size_t i = 0; i < count; ++i) pixels[i] = (shown[i] & 0xFFFFFF00u) | (pixels[i] & 0xFFu);
    GifCodec::Write(merged, out, settings_.removeBackground, exportRect_, block.Data(),
                    BlockLength(block));
}

bool TaboraButton::ImportGif(MacStream& in) {
    PtrMacStream block;
    if (!GifCodec::ReadData(in, block)) return false;
    return ReadSettings(block);
}

void TaboraButton::ExportJpeg(MacStream& out) {
    PtrMacStream block;
    WriteSignedBlock(*this, block);
    PrepareExport();
    JpegCodec codec(settings_.jpegQuality);
    codec.Write(canvas_, out, exportRect_, block.Data(), BlockLength(block));
}

bool TaboraButton::ImportJpeg(MacStream& in) {
    PtrMacStream block;
    JpegCodec codec;
    if (!codec.ReadData(in, block)) return false;
    return ReadSettings(block);
}

void TaboraButton::ExportBmp(MacStream& out) {
    PtrMacStream block;
    WriteSignedBlock(*this, block);
    PrepareExport();
    BmpCodec::Write(canvas_, out, exportRect_, block.Data(), BlockLength(block));
}

bool TaboraButton::ImportBmp(MacStream& in) {
    PtrMacStream block;
    if (!BmpCodec::ReadData(in, block)) return false;
    return ReadSettings(block);
}

}  // namespace tabora
