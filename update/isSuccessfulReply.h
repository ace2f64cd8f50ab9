#ifndef ISSUCCESSFULREPLY_H
#define ISSUCCESSFULREPLY_H

class QNetworkReply;

// True when a finished reply carries what was asked for: no transfer error
// and HTTP status 200. Error pages, redirects (which are not followed) and
// partial or empty answers all say no.
bool isSuccessfulReply(const QNetworkReply *reply);

#endif // ISSUCCESSFULREPLY_H
