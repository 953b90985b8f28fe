// Reading what the library writes as another word processor does: LibreOffice
// converts a document (to a PDF, or a file of another format to .docx), and
// poppler's tools read the PDF's pages.
//
//   if (!libreoffice_available() || !pdf_tools_available()) GTEST_SKIP() << "...";
//   ASSERT_TRUE(libreoffice_convert(path("letter.docx"), "pdf", outDir()));
//   std::string first = pdf_page_text(path("letter.pdf"), 1);
#pragma once

#include <string>

// Whether soffice is on the PATH.
bool libreoffice_available();
// Whether pdftotext and pdfinfo are on the PATH.
bool pdf_tools_available();

// Converts `file` with soffice into `outDir` (the result keeps the file's
// base name, with the extension of `format`: "pdf", "docx", or a filter
// with options such as "pdf:writer_pdf_Export:{...}"). Each conversion has a
// profile of its own, so that other instances running at the same time do
// not get in the way. False, and a test failure, when it fails.
bool libreoffice_convert(const std::string& file, const std::string& format, const std::string& outDir);

// What a shell command prints on its standard output; a command that fails
// is a test failure.
std::string command_output(const std::string& command);
// The text of one page of a PDF (1 for the first), laid out as pdftotext
// -layout lays it out.
std::string pdf_page_text(const std::string& pdf, int page);
