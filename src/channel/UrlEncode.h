#pragma once

#include <QString>

// The channel's encoding of a whole URL: the query's "#" and what follows are dropped; in the
// rest of the query, controls, blanks, non-ASCII and * < > % " { } | \ ^ [ ] ` become UTF-8
// %XX escapes. A "%" that already starts a %XX escape is left alone.
QString EncodeUrl(const QString &url);

// Percent-encodes a parameter value as a URL component (every UTF-8 byte but A-Z a-z 0-9
// - . _ ~), so "&", "=", "+", "#" and "%" inside a value reach the platform intact.
QString EncodeParam(const QString &value);
