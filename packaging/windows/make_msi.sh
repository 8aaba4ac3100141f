#!/usr/bin/env bash
# Builds the Windows installer from the staged program with wixl: a per-machine install into
# Program Files\Quorvane\Ostrel, a Start menu shortcut, ostrel-tc on the system PATH (a feature,
# on by default), and major upgrades under one fixed UpgradeCode. Its codes and times come from
# what it holds, so the same build gives the same bytes.
#
#   make_msi.sh BUILD_DIR [VERSION [OUT_DIR]]   ->  OUT_DIR/Ostrel-<VERSION>-win64.msi
# VERSION is the product's version (default: the build's), OUT_DIR the folder for the installer
# and its sources (default: BUILD_DIR); the tests use both to make an upgrade.
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
stage=$(ls -d "$build"/stage/Ostrel-*-win64)
version=${2:-$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")}
epoch=$(cat "$build/source_date_epoch")
out=$(mkdir -p "${3:-$build}" && cd "${3:-$build}" && pwd)
msi=$out/Ostrel-$version-win64.msi
work=$out/msi
rm -rf "$work" "$msi"
mkdir -p "$work"
name=$(basename "$stage")
# wixl finds files only by paths relative to its source's folder.
cp "$here/ostrel.ico" "$work/"
ln -s "$build/stage" "$work/stage"

# Never to change: Windows knows every version of Ostrel as one product by it.
upgrade_code=6F0B3C52-8E1D-4A47-9C3E-2D75B0A41E96

# A GUID named by text (the form of RFC 4122's version 5), upper case as Windows Installer wants.
guid_of() { # text
    printf '%s' "$upgrade_code $1" | sha1sum |
        sed -E 's/^(.{8})(.{4}).(.{3}).(.{3})(.{12}).*/\1-\2-5\3-8\4-\5/' | tr a-f A-F
}
xml() { sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g' -e 's/"/\&quot;/g' <<<"$1"; }

# One component for each file, its GUID named by where it is installed.
components() { # folder under the install folder ("" for the install folder itself)
    local file rel id
    for file in $(cd "$stage/$1" && find . -maxdepth 1 -type f | sed 's|^\./||' | LC_ALL=C sort); do
        rel=${1:+$1/}$file
        id=f_$(tr -c 'A-Za-z0-9_.\n' _ <<<"$rel")
        echo "<Component Id=\"$id\" Guid=\"$(guid_of "file $rel")\" Win64=\"yes\">"
        echo "  <File Id=\"$id\" Name=\"$(xml "$file")\" Source=\"$(xml "stage/$name/$rel")\" KeyPath=\"yes\">"
        [ "$rel" = Ostrel.exe ] && cat <<'SHORTCUT'
    <Shortcut Id="StartMenuOstrel" Directory="ProgramMenuFolder" Name="Ostrel"
              Description="Time Code Calculator" WorkingDirectory="INSTALLDIR" Icon="ostrel.ico"/>
SHORTCUT
        echo "  </File>"
        echo "</Component>"
        echo "$id" >>"$work/components"
    done
}

{
    cat <<HEAD
<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
<Product Id="$(guid_of "product $version")" Name="Ostrel" Version="$version" Language="1033"
         Manufacturer="Quorvane" UpgradeCode="$upgrade_code">
  <Package InstallerVersion="500" Compressed="yes" InstallScope="perMachine"
           Description="Ostrel $version" Comments="Time Code Calculator"/>
  <Media Id="1" Cabinet="ostrel.cab" EmbedCab="yes"/>
  <MajorUpgrade DowngradeErrorMessage="A newer version of Ostrel is already installed. Remove it first to install this one."/>
  <Icon Id="ostrel.ico" SourceFile="ostrel.ico"/>
  <Property Id="ARPPRODUCTICON" Value="ostrel.ico"/>
  <Property Id="ARPNOREPAIR" Value="1"/>
  <Property Id="ARPNOMODIFY" Value="1"/>
  <Directory Id="TARGETDIR" Name="SourceDir">
    <Directory Id="ProgramMenuFolder"/>
    <Directory Id="ProgramFiles64Folder">
      <Directory Id="QuorvaneFolder" Name="Quorvane">
        <Directory Id="INSTALLDIR" Name="Ostrel">
HEAD
    components ""
    for sub in $(cd "$stage" && find . -mindepth 1 -type d | sed 's|^\./||' | LC_ALL=C sort); do
        echo "<Directory Id=\"d_$sub\" Name=\"$sub\">"
        components "$sub"
        echo "</Directory>"
    done
    cat <<TAIL
          <Component Id="OnPath" Guid="$(guid_of "component OnPath")" Win64="yes">
            <CreateFolder/>
          </Component>
        </Directory>
      </Directory>
    </Directory>
  </Directory>
  <Feature Id="Ostrel" Title="Ostrel" Level="1" Absent="disallow">
$(sed 's|.*|    <ComponentRef Id="&"/>|' "$work/components")
  </Feature>
  <Feature Id="OnPath" Title="ostrel-tc from a command prompt" Level="1">
    <ComponentRef Id="OnPath"/>
  </Feature>
</Product>
</Wix>
TAIL
} >"$work/ostrel.wxs"

# wixl writes the time it runs as the package's creation and saving times, and a random package
# code: the clock is held at the release's time, and the code named by the files it carries.
at_release() { TZ=UTC faketime -f "$(date -u -d "@$epoch" '+%Y-%m-%d %H:%M:%S')" "$@"; }
package_code=$(guid_of "package $({ cat "$0" "$work/ostrel.wxs"
                                     cd "$stage" && find . -type f | LC_ALL=C sort | xargs sha256sum; } | sha256sum)")
at_release wixl -a x64 -o "$msi" "$work/ostrel.wxs"

# wixl has no Environment element: Windows Installer's own table appends the install folder to
# the system PATH with the OnPath feature and takes it out again on removal. (Writing PATH as
# a registry value would replace the whole of it.)
at_release msibuild "$msi" -s "Ostrel $version" Quorvane "x64;1033" "{$package_code}"
at_release msibuild "$msi" -q 'CREATE TABLE `Environment` (`Environment` CHAR(72) NOT NULL, `Name` CHAR(255) NOT NULL LOCALIZABLE, `Value` CHAR(255) LOCALIZABLE, `Component_` CHAR(72) NOT NULL PRIMARY KEY `Environment`)' \
    -q "INSERT INTO \`Environment\` (\`Environment\`, \`Name\`, \`Value\`, \`Component_\`) VALUES ('OnPath', '=-*PATH', '[~];[INSTALLDIR]', 'OnPath')" \
    -q "INSERT INTO \`InstallExecuteSequence\` (\`Action\`, \`Sequence\`) VALUES ('RemoveEnvironmentStrings', 3300)" \
    -q "INSERT INTO \`InstallExecuteSequence\` (\`Action\`, \`Sequence\`) VALUES ('WriteEnvironmentStrings', 5200)"

bash "$here/sign.sh" "$msi"
echo "$msi"
