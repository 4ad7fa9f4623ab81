#include "core/engine/jpeg_codec.h"

#include "core/engine/large_block.h"

#include "core/engine/file_errors.h"
#include "core/engine/image_error.h"
#include "core/engine/img_service.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <memory>
#include <vector>

#include <jpeglib.h>
// After jpeglib.h: its configuration decides which messages exist.
#include <jerror.h>

namespace ormica {

void TJPEGService::progress(TJpegStage stage, int percent)
{
    if (!progress_)
        return;
    switch (stage) {
    case TJpegStage::Starting:
        progress_->setPosition(0);
        progress_->setMaximum(100);
        break;
    case TJpegStage::Running:
        progress_->setPosition(percent);
        break;
    case TJpegStage::Ending:
        progress_->setPosition(0);
        break;
    }
}

namespace {

// libjpeg's own error exit ends the process; ours jumps back to the caller.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void errorExit(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// libjpeg decodes a stream cut short or with broken entropy data as grey or
// noise and only warns; that is a damaged file, not a picture. Stray bytes
// between segments and unknown marker versions are harmless and pass.
void emitMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0)
        return;
    switch (cinfo->err->msg_code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_MUST_RESYNC:
    case JWRN_BOGUS_PROGRESSION:
        errorExit(cinfo);
    default:
        break;
    }
}

struct ProgressManager {
    jpeg_progress_mgr pub;
    TJPEGService* service;
    int last;
    bool tooManyScans;
    bool tooMuchWork;
    // Block visits spent so far, the most the file may spend, and the last
    // scan counted in.
    qint64 work;
    qint64 workLimit;
    int countedScan;
};

qint64 blocksOf(const jpeg_component_info& comp)
{
    return qint64(comp.width_in_blocks) * qint64(comp.height_in_blocks);
}

// Block visits of the scan just begun. Refining a band passes over each of
// its coefficients in every block, even in an end-of-band run.
qint64 scanWork(j_decompress_ptr cinfo)
{
    qint64 blocks = 0;
    for (int i = 0; i < cinfo->comps_in_scan; ++i)
        blocks += blocksOf(*cinfo->cur_comp_info[i]);
    if (cinfo->progressive_mode && cinfo->Ss > 0 && cinfo->Ah > 0)
        return blocks * (1 + (cinfo->Se - cinfo->Ss + 1) / 8);
    return blocks;
}

// The output pass in block visits: an inverse DCT a block, colour conversion
// and the picture's memory a pixel (ours converts CMYK, three times dearer),
// and for a multi-scan file the coefficient buffer and its smoothing besides.
qint64 outputWork(j_decompress_ptr cinfo, bool multiScan, bool cmyk)
{
    qint64 blocks = 0;
    for (int i = 0; i < cinfo->num_components; ++i)
        blocks += blocksOf(cinfo->comp_info[i]);
    const qint64 pixels = qint64(cinfo->image_width) * qint64(cinfo->image_height);
    return blocks * (multiScan ? 24 : 8) + pixels * (cmyk ? 3 : 1) / 4;
}

// Counts the work of the current scan once; past the limit the file is
// refused before that scan is decoded.
void countScan(j_decompress_ptr cinfo, ProgressManager* pm)
{
    if (cinfo->input_scan_number == pm->countedScan)
        return;
    pm->countedScan = cinfo->input_scan_number;
    pm->work += scanWork(cinfo);
    if (pm->work > pm->workLimit) {
        pm->tooMuchWork = true;
        std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
    }
}

void progressMonitor(j_common_ptr cinfo)
{
    auto* pm = reinterpret_cast<ProgressManager*>(cinfo->progress);
    // Every scan of a progressive file passes over the whole coefficient
    // buffer, so a small file of many empty scans would decode for minutes.
    if (cinfo->is_decompressor) {
        const auto dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
        if (dinfo->input_scan_number > kMaxJpegScans) {
            pm->tooManyScans = true;
            std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
        }
        countScan(dinfo, pm);
    }
    if (!pm->service || pm->pub.pass_limit <= 0 || pm->pub.total_passes <= 0)
        return;
    const double done = (pm->pub.completed_passes + double(pm->pub.pass_counter) / double(pm->pub.pass_limit)) /
                        double(pm->pub.total_passes);
    const int percent = std::clamp(int(done * 100.0), 0, 100);
    if (percent != pm->last) {
        pm->last = percent;
        pm->service->progress(TJpegStage::Running, percent);
    }
}

QString decoderText(const QString& fileName, const QString& reason)
{
    return QCoreApplication::translate("JpegFile", "Не могу прочитать JPEG-файл \"%1\".\r\n%2").arg(fileName, reason);
}

QString decoderText(const QString& fileName, const char* message)
{
    return decoderText(fileName, QString::fromLocal8Bit(message));
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Everything the decoder touches after setjmp lives here, reached through a
// pointer, so that its values are well defined after a long jump.
struct DecodeState {
    jpeg_decompress_struct cinfo{};
    ErrorManager err{};
    ProgressManager progress{};
    std::unique_ptr<std::FILE, FileCloser> file;
    QImage image;
    std::vector<JSAMPLE> cmykRow;
    bool created = false;
    bool tooLarge = false;
    bool noMemory = false;
};

// Adobe writes CMYK inverted; so do the files that carry its marker.
void cmykToBgr(const JSAMPLE* cmyk, uchar* bgr, int width, bool inverted)
{
    for (int x = 0; x < width; ++x) {
        int c = cmyk[4 * x], m = cmyk[4 * x + 1], y = cmyk[4 * x + 2], k = cmyk[4 * x + 3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        bgr[3 * x] = uchar((y * k + 127) / 255);
        bgr[3 * x + 1] = uchar((m * k + 127) / 255);
        bgr[3 * x + 2] = uchar((c * k + 127) / 255);
    }
}

}  // namespace

namespace {

// Why decoding ended, from what the decoder and our limits recorded.
QString failureText(const DecodeState& s, const QString& fileName)
{
    if (s.progress.tooManyScans)
        return decoderText(
            fileName, QCoreApplication::translate("JpegFile", "В файле больше %1 сканов: такой файл декодировался бы "
                                                              "слишком долго.")
                          .arg(kMaxJpegScans));
    if (s.progress.tooMuchWork)
        return decoderText(fileName, QCoreApplication::translate("JpegFile",
                                                                 "В файле слишком мало данных для изображения %1 x %2 "
                                                                 "пикселей и его сканов: такой файл декодировался бы "
                                                                 "слишком долго.")
                                         .arg(s.cinfo.image_width)
                                         .arg(s.cinfo.image_height));
    if (s.err.pub.msg_code == JERR_NO_BACKING_STORE)
        return decoderText(fileName,
                           QCoreApplication::translate("JpegFile", "Декодеру нужно больше памяти, чем допустимо для "
                                                                   "изображения %1 x %2 пикселей.")
                               .arg(s.cinfo.image_width)
                               .arg(s.cinfo.image_height));
    if (s.tooLarge)
        return PictureTooLargeText(s.cinfo.image_width, s.cinfo.image_height);
    if (s.noMemory || s.err.pub.msg_code == JERR_OUT_OF_MEMORY)
        return QCoreApplication::translate("JpegFile", "Недостаточно памяти для изображения \"%1\".").arg(fileName);
    return decoderText(fileName, s.err.message);
}

// The work a file may cause grows with its picture only up to a ceiling;
// beyond it, only with the bytes it holds. The output pass is counted before
// the picture is allocated; a multi-scan file's scans as each begins, the
// first once its coefficient buffer has passed the memory limit. May jump
// back to the decoder's caller.
void limitWork(DecodeState* s, qint64 fileBytes, bool cmyk)
{
    qint64 pictureBlocks = 0;
    for (int i = 0; i < s->cinfo.num_components; ++i)
        pictureBlocks += blocksOf(s->cinfo.comp_info[i]);
    s->progress.workLimit =
        std::clamp(kJpegWorkPerBlock * pictureBlocks, kJpegWorkFloor, kJpegWorkCeiling) + kJpegWorkPerByte * fileBytes;
    const bool multiScan = s->cinfo.progressive_mode || s->cinfo.comps_in_scan < s->cinfo.num_components;
    s->progress.work = outputWork(&s->cinfo, multiScan, cmyk);
    if (!multiScan)
        countScan(&s->cinfo, &s->progress);
}

// Decodes the rows into the picture, CMYK through a row of its own.
void readScanlines(DecodeState* s, bool cmyk)
{
    const int w = s->image.width();
    const int h = s->image.height();
    if (cmyk) {
        s->cmykRow.resize(std::size_t(w) * 4);
        const bool inverted = s->cinfo.saw_Adobe_marker;
        while (s->cinfo.output_scanline < s->cinfo.output_height) {
            const int y = int(s->cinfo.output_scanline);
            JSAMPROW row = s->cmykRow.data();
            jpeg_read_scanlines(&s->cinfo, &row, 1);
            cmykToBgr(row, s->image.scanLine(y), w, inverted);
        }
        return;
    }
    // Straight into the picture's scan lines.
    JSAMPROW rows[16];
    while (s->cinfo.output_scanline < s->cinfo.output_height) {
        const int y = int(s->cinfo.output_scanline);
        const int n = std::min<int>(std::min(16, int(s->cinfo.rec_outbuf_height)), h - y);
        for (int i = 0; i < n; ++i)
            rows[i] = s->image.scanLine(y + i);
        jpeg_read_scanlines(&s->cinfo, rows, JDIMENSION(std::max(n, 1)));
    }
}

}  // namespace

QImage DecodeJpegFile(const QString& fileName, TJPEGService* service)
{
    auto st = std::make_unique<DecodeState>();
    if (const QString why = ReadFailureReason(fileName); !why.isEmpty())
        throw TImageError(CannotOpenText(fileName, why));
    st->file.reset(std::fopen(QFile::encodeName(fileName).constData(), "rb"));
    if (!st->file)
        throw TImageError(CannotOpenText(fileName, SystemErrorText(errno)));

    // No object with a destructor may be alive in this frame when the
    // decoder jumps back, so the file's size is taken before.
    const qint64 fileBytes = QFileInfo(fileName).size();
    DecodeState* const s = st.get();
    s->cinfo.err = jpeg_std_error(&s->err.pub);
    s->err.pub.error_exit = errorExit;
    s->err.pub.emit_message = emitMessage;
    if (setjmp(s->err.jump)) {
        const QString text = failureText(*s, fileName);
        if (s->created)
            jpeg_destroy_decompress(&s->cinfo);
        if (service)
            service->progress(TJpegStage::Ending, 0);
        throw TImageError(text);
    }
    jpeg_create_decompress(&s->cinfo);
    s->created = true;
    jpeg_stdio_src(&s->cinfo, s->file.get());
    jpeg_read_header(&s->cinfo, TRUE);

    if (!PictureSizeAllowed(s->cinfo.image_width, s->cinfo.image_height)) {
        s->tooLarge = true;
        std::longjmp(s->err.jump, 1);
    }
    // Multi-scan files keep every coefficient until the last scan: at most
    // the picture's own size again, beyond a margin for ordinary photographs
    // (a 4:4:4 progressive one needs twice its size). libjpeg refuses more
    // instead of swapping to a backing store.
    s->cinfo.mem->max_memory_to_use =
        long(3 * qint64(s->cinfo.image_width) * qint64(s->cinfo.image_height) + kJpegDecoderMargin);
    const bool cmyk = s->cinfo.jpeg_color_space == JCS_CMYK || s->cinfo.jpeg_color_space == JCS_YCCK;
    s->cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;

    s->progress.pub.progress_monitor = progressMonitor;
    s->progress.service = service;
    s->progress.last = -1;
    limitWork(s, fileBytes, cmyk);
    s->cinfo.progress = &s->progress.pub;
    if (service)
        service->progress(TJpegStage::Starting, 0);

    jpeg_start_decompress(&s->cinfo);
    s->image = NewPicture(int(s->cinfo.output_width), int(s->cinfo.output_height), QImage::Format_BGR888);
    if (s->image.isNull()) {
        s->noMemory = true;
        std::longjmp(s->err.jump, 1);
    }
    readScanlines(s, cmyk);
    jpeg_finish_decompress(&s->cinfo);
    jpeg_destroy_decompress(&s->cinfo);
    s->created = false;
    if (service)
        service->progress(TJpegStage::Ending, 0);
    return std::move(s->image);
}

namespace {

struct EncodeState {
    jpeg_compress_struct cinfo{};
    ErrorManager err{};
    ProgressManager progress{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    bool created = false;
};

}  // namespace

void EncodeJpegFile(const QImage& picture, const QString& fileName, int quality, bool progressive,
                    TJPEGService* service)
{
    if (!Is24Bit(picture) || picture.width() <= 0 || picture.height() <= 0)
        throw TImageError(QCoreApplication::translate("JpegFile", "Нет изображения для записи в JPEG-файл."));
    auto st = std::make_unique<EncodeState>();
    EncodeState* const s = st.get();
    s->cinfo.err = jpeg_std_error(&s->err.pub);
    s->err.pub.error_exit = errorExit;
    if (setjmp(s->err.jump)) {
        const QString text = QCoreApplication::translate("JpegFile", "Не могу записать JPEG-файл \"%1\".\r\n%2")
                                 .arg(fileName, QString::fromLocal8Bit(s->err.message));
        if (s->created)
            jpeg_destroy_compress(&s->cinfo);
        std::free(s->buffer);
        if (service)
            service->progress(TJpegStage::Ending, 0);
        throw TImageError(text);
    }
    jpeg_create_compress(&s->cinfo);
    s->created = true;
    jpeg_mem_dest(&s->cinfo, &s->buffer, &s->size);
    s->cinfo.image_width = JDIMENSION(picture.width());
    s->cinfo.image_height = JDIMENSION(picture.height());
    s->cinfo.input_components = 3;
    s->cinfo.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&s->cinfo);
    jpeg_set_quality(&s->cinfo, std::clamp(quality, 1, 100), TRUE);
    if (progressive)
        jpeg_simple_progression(&s->cinfo);

    s->progress.pub.progress_monitor = progressMonitor;
    s->progress.service = service;
    s->progress.last = -1;
    s->cinfo.progress = &s->progress.pub;
    if (service)
        service->progress(TJpegStage::Starting, 0);

    jpeg_start_compress(&s->cinfo, TRUE);
    while (s->cinfo.next_scanline < s->cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(picture.constScanLine(int(s->cinfo.next_scanline)));
        jpeg_write_scanlines(&s->cinfo, &row, 1);
    }
    jpeg_finish_compress(&s->cinfo);
    jpeg_destroy_compress(&s->cinfo);
    s->created = false;

    std::unique_ptr<unsigned char, decltype(&std::free)> data(s->buffer, &std::free);
    s->buffer = nullptr;
    if (service)
        service->progress(TJpegStage::Ending, 0);

    QSaveFile out(fileName);
    if (!out.open(QIODevice::WriteOnly) ||
        out.write(reinterpret_cast<const char*>(data.get()), qint64(s->size)) != qint64(s->size) || !out.commit())
        throw TImageError(QCoreApplication::translate("JpegFile", "Не могу записать JPEG-файл \"%1\".\r\n%2")
                              .arg(fileName, WriteFailureReason(out)));
}

}  // namespace ormica
