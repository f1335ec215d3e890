# Sourced by the signing tests: throwaway certificates, made with openssl in a folder of the
# test's own, and a dist folder to sign that is a copy of the build's.

# In FOLDER: cert.pem (a self-signed code-signing certificate, the trust anchor to verify
# with), password.txt and wrong-password.txt (one line each), and these PKCS#12 files:
#   signer.p12     the certificate and its key (current encryption)
#   legacy.p12     the same with the older encryption Windows often exports (RC2, 3DES)
#   cert-only.p12  the certificate without its key
make_certificates() {
  local folder=$1
  printf 'throwaway password\n' > "$folder/password.txt"
  printf 'not the password\n' > "$folder/wrong-password.txt"
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tarvo test signer" \
    -addext "extendedKeyUsage=codeSigning" -keyout "$folder/key.pem" -out "$folder/cert.pem" 2>/dev/null
  openssl pkcs12 -export -inkey "$folder/key.pem" -in "$folder/cert.pem" \
    -passout "file:$folder/password.txt" -out "$folder/signer.p12"
  openssl pkcs12 -export -legacy -inkey "$folder/key.pem" -in "$folder/cert.pem" \
    -passout "file:$folder/password.txt" -out "$folder/legacy.p12"
  openssl pkcs12 -export -nokeys -in "$folder/cert.pem" \
    -passout "file:$folder/password.txt" -out "$folder/cert-only.p12"
}

# FOLDER/dist/ARCH/tarvo-setup.exe, a copy of EXE, with its SHA256SUMS as the build writes it.
make_dist() {
  local folder=$1 arch=$2 exe=$3 source=$4
  rm -rf "$folder/dist"
  mkdir -p "$folder/dist/$arch"
  cp "$exe" "$folder/dist/$arch/tarvo-setup.exe"
  cmake -DTARVO_DIST="$folder/dist" -P "$source/cmake/Checksums.cmake"
}

# Every file under FOLDER with its digest: what "left as it was" compares.
folder_state() {
  (cd "$1" && find . -type f -print0 | sort -z | xargs -0 sha256sum)
}
