#include "pages/PageWriter.h"

#include <stdexcept>

#include "net/WorkFiles.h"

namespace selvane {

void PageWriter::drop() {
    open_ = false;
    page_.clear();
}

void PageWriter::openPage(std::string_view fileName) {
    drop();
    const auto path = workFilePath(folder_, fileName);
    if (!path) throw std::runtime_error("refused page name: " + std::string(fileName));
    if (!deleteFile(*path)) throw std::runtime_error("cannot delete " + *path);
    path_ = *path;
    open_ = true;
}

void PageWriter::closePage() {
    if (!open_) return;
    const WriteOutcome written = writeWorkFile(path_, {page_});
    drop();
    if (!written.ok()) throw WorkFileError(written.failure);
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
    if (!open_) throw std::runtime_error("no page is open");
    page_.append(text);
    page_.append("\r\n");
}

void PageWriter::writePageTail() {
    writePageLine("</font></td>");
    for (int i = 0; i < 10; ++i) writePageLine(R"(<td width="8%">&nbsp;</td>)");
    for (const char* line : {"</tr>", "</table>", "</body>", "</html>"}) writePageLine(line);
    closePage();
}

void PageWriter::writePageFoot() {
    writePageLine("</body>");
    writePageLine("</html>");
    closePage();
}

}  // namespace selvane
