// The client's configuration document, read as start-up reads it.

#include "FuzzEngine.h"
#include "MicroClientConfig.h"
#include "core/Markup.h"

namespace {

std::size_t g_sink = 0;

void Run(const std::uint8_t* data, std::size_t size) {
    SkinUI::CMarkup markup;
    if (!markup.LoadFromMem(data, static_cast<unsigned long>(size), SkinUI::MARKUP_ENCODING_UTF8))
        return;
    MicroClientConfig config;
    ApplyClientConfig(markup, config);
    g_sink += config.loginURL.GetLength() + config.playGamekeyWord.GetLength() +
              config.clientName.GetLength() + static_cast<std::size_t>(config.closeRect.left) +
              static_cast<std::size_t>(config.loginFrameSize.cx);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    fuzz::Target target;
    target.name = "config";
    target.extensions = {".xml"};
    target.tokens = {"<loginWebRect value=\"1,2,3,4\"/>",
                     "<closeRect value=\"",
                     "<miniRect value=\"",
                     "<loginFrameSize value=\"",
                     "<loginURL value=\"http://a/\"/>",
                     "<playGamekeyWord value=\"client=pc\"/>",
                     "<clientName value=\"",
                     " value=\"",
                     " value=\"-",
                     ",",
                     ";",
                     " ",
                     "\xEF\xBB\xBF",
                     "<microClient>",
                     "</microClient>"};
    target.run = &Run;
    return fuzz::Main(target, argc, argv);
}
