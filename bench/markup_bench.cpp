// XML parse throughput: CMarkup::LoadFromMem (UTF-8) against pugixml's load_buffer on
// the same generated skin-like document, best of several runs. The two take turns run by
// run, so that a busy machine slows both alike.
//
// Each library loads the document again and again into one document object of its own:
// the figure is the parser's, not the system's. A new object per load adds the first
// touch of freshly mapped memory (CMarkup's UTF-16 text is twice the document, pugixml's
// copy and nodes about three times), which under Wine here can cost several times the
// parse itself; that figure is printed too.
//
// Budget: CMarkup reaches at least 1.5 times pugixml's throughput.

#include "core/Markup.h"
#include "core/Utf8Decoder.h"

#include <windows.h>

#include <cstdio>
#include <string>

#ifdef HAVE_PUGIXML
#include <pugixml.hpp>
#endif

using SkinUI::CMarkup;
using SkinUI::CMarkupNode;

namespace {

const size_t kTargetBytes = 5 * 1024 * 1024;
const int kRuns = 25;
const double kBudgetRatio = 1.5;

// Small deterministic generator, so every run and every machine sees the same document.
class Random {
public:
    unsigned Next(unsigned bound) {
        m_state = m_state * 1664525u + 1013904223u;
        return (m_state >> 8) % bound;
    }

private:
    unsigned m_state = 12345;
};

const char* const kControls[] = {"Button", "Label", "Edit", "Option", "Progress", "Text"};
const char* const kTexts[] = {
    "登录游戏",
    "服务中心",
    "刷新",
    "最小化",
    "关闭窗口",
    "确定要退出游戏吗？",
    "Hello &amp; welcome",
    "&lt;b&gt;粗体&lt;/b&gt;",
    "'引号' &quot;quoted&quot;",
    "Ünïcödé text",
};

void AppendControl(std::string& xml, Random& random, int indent) {
    const char* control = kControls[random.Next(6)];
    xml.append(indent, '\t');
    xml += '<';
    xml += control;
    xml += " name=\"";
    xml += control;
    xml += std::to_string(random.Next(100000));
    xml += "\" pos=\"" + std::to_string(random.Next(800)) + "," + std::to_string(random.Next(600)) +
           "," + std::to_string(random.Next(800)) + "," + std::to_string(random.Next(600)) + "\"";
    xml += " text=\"";
    xml += kTexts[random.Next(10)];
    xml += "\" tooltip=\"";
    xml += kTexts[random.Next(10)];
    xml += "\" normalimage=\"file='btn_normal.png' source='0,0,80,30' corner='4,4,4,4'\"";
    xml += " hotimage=\"file='btn_hot.png' source='0,0,80,30'\" textcolor=\"#FF333333\"";
    xml += " font=\"" + std::to_string(random.Next(4)) + "\" align=\"center\" float=\"true\"";
    if (random.Next(3) == 0) {
        xml += ">";
        xml += kTexts[random.Next(10)];
        xml += "</";
        xml += control;
        xml += ">\n";
    } else {
        xml += " />\n";
    }
}

void AppendLayout(std::string& xml, Random& random, int depth) {
    const char* layout = random.Next(2) ? "VerticalLayout" : "HorizontalLayout";
    xml.append(depth, '\t');
    xml += "<";
    xml += layout;
    xml += " width=\"" + std::to_string(random.Next(1000)) + "\" height=\"" +
           std::to_string(random.Next(1000)) + "\" bkcolor=\"#FFF0F0F0\" inset=\"2,2,2,2\"" +
           " padding=\"4,0,4,0\" childpadding=\"3\">\n";
    const unsigned children = 2 + random.Next(5);
    for (unsigned i = 0; i < children; ++i) {
        if (depth < 8 && random.Next(3) == 0) {
            AppendLayout(xml, random, depth + 1);
        } else {
            AppendControl(xml, random, depth + 1);
        }
    }
    if (random.Next(4) == 0) {
        xml.append(depth + 1, '\t');
        xml += "<!-- 分隔 -->\n";
    }
    xml.append(depth, '\t');
    xml += "</";
    xml += layout;
    xml += ">\n";
}

std::string MakeSkin() {
    Random random;
    std::string xml = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    xml += "<Window size=\"1024,768\" caption=\"0,0,0,30\" roundcorner=\"4,4\" bktrans=\"true\">\n";
    xml += "\t<Font name=\"微软雅黑\" size=\"12\" default=\"true\" />\n";
    while (xml.size() < kTargetBytes)
        AppendLayout(xml, random, 1);
    xml += "</Window>\n";
    return xml;
}

double Seconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

int CountMarkup(const CMarkupNode& node) {
    int count = 0;
    for (CMarkupNode child = node; child.IsValid(); child = child.GetSibling()) {
        count += 1 + CountMarkup(child.GetChild());
    }
    return count;
}

#ifdef HAVE_PUGIXML
int CountPugi(const pugi::xml_node& node) {
    int count = 0;
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element) count += 1 + CountPugi(child);
    }
    return count;
}
#endif

double MiBPerSecond(size_t bytes, double seconds) {
    return bytes / (1024.0 * 1024.0) / seconds;
}

} // namespace

// Best seconds of the runs so far, and the element count of the first.
struct Timing {
    double best = 1e30;
    int elements = -1;
    void Add(double seconds) {
        if (seconds < best) best = seconds;
    }
};

template <class Load> double TimeLoad(Load load) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    const bool loaded = load();
    QueryPerformanceCounter(&end);
    return loaded ? Seconds(start, end) : -1.0;
}

int main() {
    const std::string skin = MakeSkin();
    const unsigned char* data = reinterpret_cast<const unsigned char*>(skin.data());
    const unsigned long size = static_cast<unsigned long>(skin.size());
    std::printf("document: %.2f MiB of generated skin XML\n", size / (1024.0 * 1024.0));

    Timing markup, markupNew, decode;
    CMarkup reused;
    const auto loadMarkup = [&](CMarkup& into) {
        return into.LoadFromMem(data, size, SkinUI::MARKUP_ENCODING_UTF8);
    };
#ifdef HAVE_PUGIXML
    Timing pugi, pugiNew;
    pugi::xml_document pugiReused;
    const auto loadPugi = [&](pugi::xml_document& into) {
        return bool(
            into.load_buffer(skin.data(), skin.size(), pugi::parse_default, pugi::encoding_utf8));
    };
#endif
    // The decoding step alone, into a buffer written before, to show where the time goes.
    std::wstring decoded(size + 1, L'\0');
    for (int run = 0; run < kRuns; ++run) {
        const double seconds = TimeLoad([&] { return loadMarkup(reused); });
        if (seconds < 0) {
            wchar_t message[100];
            reused.GetLastErrorMessage(message, 100);
            std::printf("CMarkup failed: %ls\n", message);
            return 1;
        }
        markup.Add(seconds);
        if (run == 0) markup.elements = CountMarkup(reused.GetRoot());
        {
            CMarkup fresh;
            markupNew.Add(TimeLoad([&] { return loadMarkup(fresh); }));
        }
        decode.Add(TimeLoad(
            [&] { return SkinUI::CUtf8Decoder::Decode(data + 3, size - 3, &decoded[0]) != 0; }));
#ifdef HAVE_PUGIXML
        const double pugiSeconds = TimeLoad([&] { return loadPugi(pugiReused); });
        if (pugiSeconds < 0) {
            std::printf("pugixml failed\n");
            return 1;
        }
        pugi.Add(pugiSeconds);
        if (run == 0) pugi.elements = CountPugi(pugiReused);
        {
            pugi::xml_document fresh;
            pugiNew.Add(TimeLoad([&] { return loadPugi(fresh); }));
        }
#endif
    }

    const double markupSpeed = MiBPerSecond(size, markup.best);
    std::printf("CMarkup::LoadFromMem   %8.1f MiB/s  (%.2f ms, %d elements)\n", markupSpeed,
                markup.best * 1000, markup.elements);
    std::printf("  of which UTF-8 decoding %.2f ms, parsing %.2f ms\n", decode.best * 1000,
                (markup.best - decode.best) * 1000);
    std::printf("  into a new object each load %8.1f MiB/s  (%.2f ms)\n",
                MiBPerSecond(size, markupNew.best), markupNew.best * 1000);
#ifdef HAVE_PUGIXML
    const double pugiSpeed = MiBPerSecond(size, pugi.best);
    std::printf("pugixml load_buffer    %8.1f MiB/s  (%.2f ms, %d elements)\n", pugiSpeed,
                pugi.best * 1000, pugi.elements);
    std::printf("  into a new object each load %8.1f MiB/s  (%.2f ms)\n",
                MiBPerSecond(size, pugiNew.best), pugiNew.best * 1000);
    const double ratio = markupSpeed / pugiSpeed;
    std::printf("ratio CMarkup/pugixml  %8.2f  (budget: at least %.2f) %s;"
                " with new objects %.2f\n",
                ratio, kBudgetRatio, ratio >= kBudgetRatio ? "OK" : "BELOW BUDGET",
                pugiNew.best / markupNew.best);
    if (markup.elements != pugi.elements) std::printf("warning: element counts differ\n");
#else
    std::printf("pugixml not available: no comparison\n");
#endif
    return 0;
}
