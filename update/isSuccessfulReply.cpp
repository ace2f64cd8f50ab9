#include "update/isSuccessfulReply.h"

#include <QNetworkReply>

bool isSuccessfulReply(const QNetworkReply *reply)
{
    return reply->error() == QNetworkReply::NoError
        && reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() == 200;
}
