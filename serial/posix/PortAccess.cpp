// Permission from the device's mode bits against the process's own user and groups, and the
// holder from the lock files and /proc, as the open would meet them.
#include "serial/posix/PortAccess.h"

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "serial/posix/PortOwnership.h"

namespace serial {

namespace {

bool MayReadAndWrite(const struct stat& info, const UserIdentity& user) {
    if (user.uid == 0) return true;
    if (info.st_uid == user.uid) return (info.st_mode & (S_IRUSR | S_IWUSR)) == (S_IRUSR | S_IWUSR);
    const bool member =
        std::find(user.groups.begin(), user.groups.end(), info.st_gid) != user.groups.end();
    if (member) return (info.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
    return (info.st_mode & (S_IROTH | S_IWOTH)) == (S_IROTH | S_IWOTH);
}

std::string GroupName(gid_t gid) {
    if (const group* entry = ::getgrgid(gid)) return entry->gr_name;
    return std::to_string(gid);
}

}  // namespace

UserIdentity UserIdentity::OfProcess() {
    UserIdentity user;
    user.uid = ::geteuid();
    user.groups.push_back(::getegid());
    const int count = ::getgroups(0, nullptr);
    if (count > 0) {
        std::vector<gid_t> groups(static_cast<size_t>(count));
        const int got = ::getgroups(count, groups.data());
        for (int i = 0; i < got; ++i) user.groups.push_back(groups[static_cast<size_t>(i)]);
    }
    return user;
}

PortAccess CheckPortAccess(const std::string& device, const UserIdentity& user,
                           const OwnershipRoots& roots) {
    PortAccess access;
    struct stat info {};
    if (::stat(device.c_str(), &info) != 0) return access;  // the open will say what is wrong
    if (!MayReadAndWrite(info, user)) {
        access.use = PortUse::NoPermission;
        access.group = GroupName(info.st_gid);
        return access;
    }
    if (FindLockHolder(roots.lockDir, device, roots.procRoot, &access.holder) ||
        FindPortHolder(roots.procRoot, device, &access.holder)) {
        access.use = PortUse::InUse;
    }
    return access;
}

PortAccess CheckPortAccess(const std::string& device, const PortRoots& roots) {
    return CheckPortAccess(device, roots.user ? *roots.user : UserIdentity::OfProcess(),
                           roots.ownership);
}

}  // namespace serial
