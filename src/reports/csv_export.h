// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The semicolon-separated export of a table: a header of the field names,
// then one line per record in stored order; every value (and every name) is
// followed by ";", lines end in CR LF, texts are in the single-byte code page
// (Latin-1; a character it lacks becomes "?"), numbers are their general
// decimal text, an empty field is nothing, and nothing is quoted.
//
// Rows stream from the table into a temporary file beside `target`, which
// replaces `target` only once it is complete: a failure at any point raises
// VigiloError and leaves `target` as it was.
void WriteTableCsv(const QString& tableFile, const QString& target);
