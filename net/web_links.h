// The web addresses the program opens or shows: the maker's official-site and
// feedback pages, the download site's page for the program, and the version
// page the latest-version window frames. The hosts are kept here and nowhere
// else. Every address is https: the program often runs as administrator, and
// a plain-http page could be changed on the way to the browser or the view.
#pragma once

namespace net {

#define QH_MAKER_HOST "www.quondahalvix.com"
#define QH_VERSION_HOST "ver.quondahalvix.com"
#define QH_DOWNLOAD_HOST "downloads.example.net"

inline constexpr char kOfficialSiteUrl[] = "https://" QH_MAKER_HOST "/html/yijianfankui-qrx/index.htm";
inline constexpr char kFeedbackUrl[] = "https://" QH_MAKER_HOST "/feedback/";
inline constexpr char kDownloadUrl[] = "https://" QH_DOWNLOAD_HOST "/soft/detail/40350.html";
inline constexpr char kVersionPageUrl[] =
    "https://" QH_VERSION_HOST "/html/ruanjianbanben-123456789/index.htm";

#undef QH_MAKER_HOST
#undef QH_VERSION_HOST
#undef QH_DOWNLOAD_HOST

}  // namespace net
