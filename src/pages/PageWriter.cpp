#include "pages/PageWriter.h"

#include <stdexcept>

#include "net/WorkFiles.h"

namespace selvane {

PageWriter::~PageWriter() { close(); }

void PageWriter::close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    pageFileNumber_ = 0;
}

void PageWriter::openPage(std::string_view fileName) {
    close();
    const auto path = workFilePath(folder_, fileName);
    if (!path) throw std::runtime_error("refused page name: " + std::string(fileName));
    if (!deleteFile(*path)) throw std::runtime_error("cannot delete " + *path);
    file_ = std::fopen(path->c_str(), "wb");
    if (!file_) throw std::runtime_error("cannot open " + *path);
    pageFileNumber_ = ++lastNumber_;
}

void PageWriter::closePage() {
    std::FILE* f = file_;
    file_ = nullptr;
    pageFileNumber_ = 0;
    if (f && std::fclose(f) != 0) throw std::runtime_error("cannot write the page");
}

void PageWriter::writePageHead(std::string_view fileName, std::string_view colour) {
    openPage(fileName);
    writePageLine("<html>");
    writePageLine("<head><title></title>");
    writePageLine(R"(<link rel="stylesheet" type="text/css" href="webstyle.css" title="webstyle">)");
    writePageLine("</head>");
    writePageLine(std::string(R"(<body bgcolor="#)") + std::string(colour) +
                  R"(" leftMargin="0" topMargin="0" marginheight="0" marginwidth="0" oncontextmenu ="return false;">)");
}

void PageWriter::writePageLine(std::string_view text) {
    if (!file_) throw std::runtime_error("no page is open");
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size() || std::fwrite("\r\n", 1, 2, file_) != 2)
        throw std::runtime_error("cannot write the page");
}

void PageWriter::writePageTail() {
    writePageLine("</font></td>");
    for (int i = 0; i < 10; ++i) writePageLine(R"(<td width="8%">&nbsp;</td>)");
    for (const char* line : {"</tr>", "</table>", "</body>", "</html>"}) writePageLine(line);
    close();
}

void PageWriter::writePageFoot() {
    writePageLine("</body>");
    writePageLine("</html>");
    close();
}

}  // namespace selvane
