#ifndef ISWEBADDRESS_H
#define ISWEBADDRESS_H

class QUrl;

// True for a valid http or https address. The update code fetches nothing
// else: a "file:" or other address from a description must not reach the
// access manager, which would happily read local files.
bool isWebAddress(const QUrl &url);

#endif // ISWEBADDRESS_H
