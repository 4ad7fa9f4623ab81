// opencv-cli: the nearest OpenCV counterparts of some ormica-cli commands, as
// whole processes for bench/end_to_end.sh. OpenCV keeps its default threads.
//   opencv-cli OPERATION IN OUT [ROW COL]
#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Stats {
    double mean = 0, variance = 0, deviation = 0;
    int max = 0;
};

// From the counts, as the histogram window reports them.
Stats statistics(const cv::Mat& hist, double count)
{
    Stats s;
    double sum = 0, squares = 0;
    for (int i = 0; i < 256; ++i) {
        const double n = hist.at<float>(i);
        sum += i * n;
        s.max = std::max(s.max, int(n));
    }
    s.mean = sum / count;
    for (int i = 0; i < 256; ++i)
        squares += hist.at<float>(i) * (i - s.mean) * (i - s.mean);
    s.variance = squares / count;
    s.deviation = std::sqrt(s.variance * count / (count - 1));
    return s;
}

// Ours prints its statistics; here they go to OUT, a file of the same lines.
bool histogram(const cv::Mat& src, const std::string& out)
{
    const int size = 256;
    const float range[] = {0, 256};
    const float* ranges[] = {range};
    cv::Mat hist[4], grey;
    for (int c = 0; c < 3; ++c)
        cv::calcHist(&src, 1, &c, cv::Mat(), hist[c], 1, &size, ranges);
    cv::cvtColor(src, grey, cv::COLOR_BGR2GRAY);
    const int zero = 0;
    cv::calcHist(&grey, 1, &zero, cv::Mat(), hist[3], 1, &size, ranges);

    std::FILE* f = std::fopen(out.c_str(), "w");
    if (!f)
        return false;
    const double count = double(src.total());
    std::fprintf(f, "count\t%.0f\tblack\t%d\twhite\t%d\n", count, int(hist[3].at<float>(0)),
                 int(hist[3].at<float>(255)));
    const char* names[4] = {"R", "G", "B", "L"};
    const int channel[4] = {2, 1, 0, 3};  // OpenCV's planes are B, G, R
    for (int i = 0; i < 4; ++i) {
        const Stats s = statistics(hist[channel[i]], count);
        std::fprintf(f, "%s\t%.17g\t%.17g\t%.17g\t%d\n", names[i], s.mean, s.variance, s.deviation, s.max);
    }
    return std::fclose(f) == 0;
}

bool number(const char* text, float& value)
{
    char* end = nullptr;
    value = std::strtof(text, &end);
    return end != text && *end == '\0';
}

int fail(const std::string& message)
{
    std::fprintf(stderr, "opencv-cli: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4 && argc != 6)
        return fail("usage: opencv-cli convert|grey|mirror|rot90|rotate30|scale037|hist|transfer|filter IN OUT "
                    "[ROW COL]");
    const std::string op = argv[1], in = argv[2], out = argv[3];
    try {
        const cv::Mat src = cv::imread(in, cv::IMREAD_COLOR);
        if (src.empty())
            return fail("cannot read " + in);
        cv::Mat dst;
        if (op == "convert") {
            dst = src;
        } else if (op == "grey") {
            cv::Mat plane;
            cv::cvtColor(src, plane, cv::COLOR_BGR2GRAY);
            cv::cvtColor(plane, dst, cv::COLOR_GRAY2BGR);
        } else if (op == "mirror") {
            cv::flip(src, dst, 1);
        } else if (op == "rot90") {
            cv::rotate(src, dst, cv::ROTATE_90_COUNTERCLOCKWISE);
        } else if (op == "rotate30") {
            // ormica-cli's --centre is ROW COL; OpenCV's point is x, y.
            float row = float(src.rows / 2), col = float(src.cols / 2);
            if (argc == 6 && !(number(argv[4], row) && number(argv[5], col)))
                return fail("ROW and COL must be numbers");
            const cv::Mat m = cv::getRotationMatrix2D(cv::Point2f(col, row), 30, 1.0);
            cv::warpAffine(src, dst, m, src.size(), cv::INTER_NEAREST, cv::BORDER_CONSTANT,
                           cv::Scalar(255, 255, 255));
        } else if (op == "scale037") {
            cv::resize(src, dst, cv::Size(), 0.37, 0.37, cv::INTER_AREA);
        } else if (op == "hist") {
            return histogram(src, out) ? 0 : fail("cannot write " + out);
        } else if (op == "transfer") {
            cv::Mat table(1, 256, CV_8U);
            for (int i = 0; i < 256; ++i)
                table.at<uchar>(i) = cv::saturate_cast<uchar>(255 * std::sqrt(i / 255.0));
            cv::LUT(src, table, dst);
        } else if (op == "filter") {
            const cv::Mat kernel = cv::Mat::ones(7, 7, CV_32F) / 49.0f;
            cv::filter2D(src, dst, -1, kernel, cv::Point(-1, -1), 0, cv::BORDER_REPLICATE);
        } else {
            return fail("unknown operation " + op);
        }
        // JPEG at ormica-cli's default quality; BMP takes no parameters.
        if (!cv::imwrite(out, dst, {cv::IMWRITE_JPEG_QUALITY, 100}))
            return fail("cannot write " + out);
    } catch (const cv::Exception& e) {
        return fail(e.what());
    }
    return 0;
}
