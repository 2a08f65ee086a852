"""The few calls of the Orbelo API the cluster benchmark needs, over one kept-alive HTTPS
connection that trusts exactly the service's certificate: demo sign-up, session tokens, a course,
uploads and their processing status."""

import http.client
import json
import ssl
import urllib.parse

# Every address at example.com takes this code on a server started with --demo.
DEMO_CODE = "424242"


class ApiError(RuntimeError):
    pass


class OrbeloClient:
    def __init__(self, base_url, certificate):
        url = urllib.parse.urlsplit(base_url)
        self.host = url.hostname
        self.port = url.port or 443
        self.tls = ssl.create_default_context(cafile=certificate)
        self.connection = None

    def close(self):
        if self.connection is not None:
            self.connection.close()
            self.connection = None

    def request(self, method, target, body=b"", headers=None):
        """Answers (status, headers, body); tries once more on a new connection when the kept-alive
        one fails."""
        for attempt in (1, 2):
            if self.connection is None:
                self.connection = http.client.HTTPSConnection(self.host, self.port, context=self.tls, timeout=60)
            try:
                self.connection.request(method, target, body=body, headers=headers or {})
                reply = self.connection.getresponse()
                return reply.status, reply.headers, reply.read()
            # A connection the server closed while idle fails on first use, as a reset, a TLS EOF
            # or an empty answer.
            except (OSError, http.client.HTTPException):
                self.close()
                if attempt == 2:
                    raise
        raise AssertionError("unreachable")

    def form(self, path, fields, device_token=""):
        headers = {"Content-Type": "application/x-www-form-urlencoded"}
        if device_token:
            headers["Authorization"] = device_token
        status, reply_headers, body = self.request(
            "POST", path + "?_is_native=true", urllib.parse.urlencode(fields).encode(), headers
        )
        if status >= 400:
            raise ApiError(f"POST {path}: {status} {body[:200]!r}")
        return reply_headers, json.loads(body)

    def api(self, method, path, token, body=None):
        headers = {"Accept": "application/json", "Authorization": "Bearer " + token}
        data = b""
        if body is not None:
            headers["Content-Type"] = "application/json"
            data = json.dumps(body).encode()
        status, _, reply = self.request(method, path, data, headers)
        if status >= 400:
            raise ApiError(f"{method} {path}: {status} {reply[:200]!r}")
        return json.loads(reply) if reply else {}

    def sign_up(self, email, password="correct horse battery"):
        """Signs up a new account at example.com with the demo code; answers its device token and
        session id, which token() turns into short-lived session tokens."""
        headers, created = self.form("/v1/client/sign_ups", {"email_address": email, "password": password})
        device = headers["Authorization"]
        sign_up = created["response"]["id"]
        self.form(f"/v1/client/sign_ups/{sign_up}/prepare_verification", {"strategy": "email_code"}, device)
        _, verified = self.form(
            f"/v1/client/sign_ups/{sign_up}/attempt_verification",
            {"strategy": "email_code", "code": DEMO_CODE},
            device,
        )
        return device, verified["response"]["created_session_id"]

    def token(self, device, session):
        _, answer = self.form(f"/v1/client/sessions/{session}/tokens", {"organization_id": ""}, device)
        return answer["response"]["jwt"]

    def add_course(self, token, title):
        return self.api("POST", "/api/class-info", token, {"class_title": title})["course_id"]

    def upload(self, token, data, filename, content_type, course):
        """Uploads a file into a course as the app does (initiate, PUT to the presigned address,
        complete); answers the document id. Its processing job is queued on completion."""
        presigned = self.api(
            "POST",
            "/api/v2/uploads/document/initiate",
            token,
            {"filename": filename, "file_size": len(data), "content_type": content_type, "course_id": course},
        )
        target = urllib.parse.urlsplit(presigned["presigned_url"])
        # Behind a balancer the address must be the service's public one, not a process's own.
        if (target.hostname, target.port or 443) != (self.host, self.port):
            raise ApiError(f"the upload address {target.netloc} is not the service's {self.host}:{self.port}")
        status, _, body = self.request(
            "PUT", target.path + "?" + target.query, data, {"Content-Type": content_type}
        )
        if status != 200:
            raise ApiError(f"PUT {target.path}: {status} {body[:200]!r}")
        self.api(
            "POST",
            "/api/v2/uploads/document/complete",
            token,
            {
                "document_id": presigned["document_id"],
                "s3_key": presigned["s3_key"],
                "original_filename": filename,
                "skip_syllabus_extraction": True,
                "course_id": course,
            },
        )
        return presigned["document_id"]

    def document_status(self, token, document):
        return self.api("GET", f"/api/documents/{document}/status", token)["status"]
